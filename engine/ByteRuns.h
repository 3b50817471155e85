// Skipping runs of bytes that the scanner of text lines passes over
// unchanged, sixteen at a time where SSE2 is there (every x86-64), a byte
// at a time elsewhere. No function reads a byte at or after `limit`.
#pragma once

#include <cstddef>

#include "foundation/Compiler.h"

#ifdef TOVI_X86_SIMD
#include <emmintrin.h>
#endif

namespace ByteRuns {

// The first index in [from, limit) whose byte is `stop`, NUL, or, when `high` is set, 0x80 or
// above (where a lead byte may be); limit when there is none.
inline std::size_t FindStop(const char* text, std::size_t from, std::size_t limit, char stop,
                            bool high) {
#ifdef TOVI_X86_SIMD
  const __m128i stops = _mm_set1_epi8(stop);
  const __m128i zero = _mm_setzero_si128();
  while (limit - from >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, stops), _mm_cmpeq_epi8(v, zero))));
    if (high) mask |= static_cast<unsigned>(_mm_movemask_epi8(v));
    if (mask != 0) return from + Core::LowestBit32(mask);
    from += 16;
  }
#endif
  for (; from < limit; ++from) {
    const unsigned char c = static_cast<unsigned char>(text[from]);
    if (c == static_cast<unsigned char>(stop) || c == 0 || (high && c >= 0x80)) return from;
  }
  return limit;
}

// Past the run of ASCII letters, digits and underscores at `from` (the
// bytes most words are made of), as far as whole blocks of sixteen reach:
// the caller's own loop goes on from there.
inline std::size_t SkipWordBytes(const char* text, std::size_t from, std::size_t limit) {
#ifdef TOVI_X86_SIMD
  // Signed compares: bytes of 0x80 and above are below every bound.
  const __m128i caseBit = _mm_set1_epi8(0x20);
  const __m128i belowA = _mm_set1_epi8('a' - 1);
  const __m128i aboveZ = _mm_set1_epi8('z' + 1);
  const __m128i below0 = _mm_set1_epi8('0' - 1);
  const __m128i above9 = _mm_set1_epi8('9' + 1);
  const __m128i underscore = _mm_set1_epi8('_');
  while (limit - from >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
    const __m128i lower = _mm_or_si128(v, caseBit);
    const __m128i letter =
        _mm_and_si128(_mm_cmpgt_epi8(lower, belowA), _mm_cmpgt_epi8(aboveZ, lower));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(v, below0), _mm_cmpgt_epi8(above9, v));
    const __m128i word = _mm_or_si128(_mm_or_si128(letter, digit), _mm_cmpeq_epi8(v, underscore));
    const unsigned mask = ~static_cast<unsigned>(_mm_movemask_epi8(word)) & 0xFFFFu;
    if (mask != 0) return from + Core::LowestBit32(mask);
    from += 16;
  }
#else
  (void)text;
  (void)limit;
#endif
  return from;
}

}  // namespace ByteRuns
