#include "engine/CodeWindow.h"

#include <cstddef>
#include <utility>

#ifdef TOVI_X86_SIMD
#include <immintrin.h>
#endif

namespace CodeWindows {

CodeWindow ClassifyPortable(const char* text, bool high, const FirstByteSet& first) {
  CodeWindow window{0, 0, 0};
  for (int i = 0; i < 64; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::uint64_t bit = std::uint64_t(1) << i;
    if (EndsWord(c)) window.wordEnds |= bit;
    if (c == '"' || c == '/' || (high && c >= 0x80)) window.special |= bit;
    if (c >= 0x80 || first.Has(c)) window.starters |= bit;
  }
  return window;
}

#ifdef TOVI_X86_SIMD

namespace {

inline std::uint64_t Bits(__m128i mask, int block) {
  return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(mask))) << (16 * block);
}

// The bytes '"' and '/', which need a look of their own (both end words).
constexpr AsciiSet kSpecial = AsciiSet("\"/");

// The word ends as maximal runs of consecutive bytes, for SSE2 to compare.
struct Run {
  unsigned char low, top;
};
struct Runs {
  Run run[64];
  std::size_t count;
};

constexpr Runs RunsOf(AsciiSet set) {
  Runs runs{};
  for (int c = 0; c < 0x80; ++c) {
    if (!set.Has(static_cast<unsigned char>(c))) continue;
    if (runs.count > 0 && runs.run[runs.count - 1].top == c - 1) {
      runs.run[runs.count - 1].top = static_cast<unsigned char>(c);
    } else {
      runs.run[runs.count++] = {static_cast<unsigned char>(c), static_cast<unsigned char>(c)};
    }
  }
  return runs;
}

constexpr Runs kWordEndRuns = RunsOf(kWordEnds);

// Ranges by signed compares: bytes of 0x80 and above are below every bound.
inline __m128i Within(__m128i v, char low, char top) {
  return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                       _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(top + 1)), v));
}

// A run's bytes: one compare for a single byte; 0x7F has no signed bound above.
template <unsigned char kLow, unsigned char kTop>
inline __m128i InRun(__m128i v) {
  if constexpr (kLow == kTop) {
    return _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(kLow)));
  } else if constexpr (kTop == 0x7F) {
    return _mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(kLow - 1)));
  } else {
    return Within(v, static_cast<char>(kLow), static_cast<char>(kTop));
  }
}

// The word ends among 16 bytes, every run's bounds a constant.
template <std::size_t... kRun>
inline __m128i WordEnds(__m128i v, std::index_sequence<kRun...>) {
  __m128i ends = _mm_setzero_si128();
  ((ends = _mm_or_si128(ends, InRun<kWordEndRuns.run[kRun].low, kWordEndRuns.run[kRun].top>(v))),
   ...);
  return ends;
}

// Every byte may start a name here: the scanner's own test decides.
CodeWindow ClassifySse2(const char* text, bool high, const FirstByteSet&) {
  CodeWindow window{0, 0, ~std::uint64_t(0)};
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * k));
    const __m128i ends = WordEnds(v, std::make_index_sequence<kWordEndRuns.count>());
    const __m128i quoteOrSlash =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('/')));
    window.wordEnds |= Bits(ends, k);
    window.special |= Bits(quoteOrSlash, k);
    if (high) window.special |= Bits(v, k);
  }
  return window;
}

// A byte's class is the AND of one table entry for its low nibble and one
// for its high nibble. The word ends are grouped by high nibble: each
// distinct set of low nibbles such a row holds has a bit of its own, in
// the row's high entry and in the low entries of its nibbles. One bit
// above those marks the special bytes, so that a signed compare finds
// them. High nibbles 8 to 15 have entries of 0: bytes of 0x80 and above
// are neither. A first byte is found the same way in FirstByteSet's table.
struct alignas(16) Table16 {
  unsigned char bytes[16];
};
struct NibbleClasses {
  Table16 low, high;
  unsigned char wordEnds;  // the bits of the word ends
  unsigned char special;   // the bit of the special bytes
};

constexpr NibbleClasses NibbleClassesOf(AsciiSet ends, AsciiSet special) {
  NibbleClasses classes{};
  unsigned rows[8] = {};  // the distinct sets of low nibbles, one per bit
  int bits = 0;
  for (int h = 0; h < 8; ++h) {
    unsigned row = 0;
    for (int l = 0; l < 16; ++l) {
      if (ends.Has(static_cast<unsigned char>(16 * h + l))) row |= 1u << l;
    }
    if (row == 0) continue;
    int bit = 0;
    while (bit < bits && rows[bit] != row) ++bit;
    if (bit == bits) rows[bits++] = row;
    classes.high.bytes[h] = static_cast<unsigned char>(1u << bit);
  }
  for (int l = 0; l < 16; ++l) {
    for (int bit = 0; bit < bits; ++bit) {
      if ((rows[bit] >> l) & 1) classes.low.bytes[l] |= static_cast<unsigned char>(1u << bit);
    }
  }
  classes.special = static_cast<unsigned char>(1u << bits);
  classes.wordEnds = static_cast<unsigned char>(classes.special - 1);
  for (int c = 0; c < 0x80; ++c) {
    if (!special.Has(static_cast<unsigned char>(c))) continue;
    classes.low.bytes[c & 15] |= classes.special;
    classes.high.bytes[c >> 4] |= classes.special;
  }
  return classes;
}

// Whether each of the 256 bytes has the classes the sets give it, as the
// classifiers test them; false too where a bit does not fit below 0x80.
constexpr bool Reproduces(const NibbleClasses& classes, AsciiSet ends, AsciiSet special) {
  if (classes.special > 0x40) return false;
  for (int c = 0; c < 256; ++c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const int bits = classes.low.bytes[c & 15] & classes.high.bytes[c >> 4];
    if (((bits & classes.wordEnds) != 0) != ends.Has(byte)) return false;
    if ((bits > classes.wordEnds) != special.Has(byte)) return false;
  }
  return true;
}

constexpr NibbleClasses kNibbleClasses = NibbleClassesOf(kWordEnds, kSpecial);
static_assert(Reproduces(kNibbleClasses, kWordEnds, kSpecial),
              "the word ends take at most 6 distinct rows and the special bytes one rectangle");

constexpr Table16 kLowClasses = kNibbleClasses.low;
constexpr Table16 kHighClasses = kNibbleClasses.high;
alignas(16) const
    unsigned char kHighBits[16] = {1, 2, 4, 8, 16, 32, 64, 128, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr char kWordEndClasses = static_cast<char>(kNibbleClasses.wordEnds);

inline __m128i Table(const unsigned char* table) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(table));
}

TOVI_TARGET("ssse3")
CodeWindow ClassifySsse3(const char* text, bool high, const FirstByteSet& first) {
  const __m128i lowClasses = Table(kLowClasses.bytes), highClasses = Table(kHighClasses.bytes);
  const __m128i highBits = Table(kHighBits), firstBytes = Table(first.bits);
  const __m128i nibble = _mm_set1_epi8(0x0F);
  const __m128i zero = _mm_setzero_si128();
  std::uint64_t words = 0, special = 0, notStarters = 0, highBytes = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * k));
    const __m128i low = _mm_and_si128(v, nibble);
    const __m128i top = _mm_and_si128(_mm_srli_epi16(v, 4), nibble);
    const __m128i classes =
        _mm_and_si128(_mm_shuffle_epi8(lowClasses, low), _mm_shuffle_epi8(highClasses, top));
    const __m128i starts =
        _mm_and_si128(_mm_shuffle_epi8(firstBytes, low), _mm_shuffle_epi8(highBits, top));
    words |= Bits(_mm_cmpeq_epi8(_mm_and_si128(classes, _mm_set1_epi8(kWordEndClasses)), zero), k);
    special |= Bits(_mm_cmpgt_epi8(classes, _mm_set1_epi8(kWordEndClasses)), k);
    notStarters |= Bits(_mm_cmpeq_epi8(starts, zero), k);
    highBytes |= Bits(v, k);
  }
  return {~words, high ? special | highBytes : special, ~notStarters | highBytes};
}

TOVI_TARGET("avx2") inline std::uint64_t Bits256(__m256i mask, int block) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(mask)))
         << (32 * block);
}

// The same 32 bytes at a time: each half of a 256-bit shuffle looks up
// its own copy of the table.
TOVI_TARGET("avx2")
CodeWindow ClassifyAvx2(const char* text, bool high, const FirstByteSet& first) {
  const __m256i lowClasses = _mm256_broadcastsi128_si256(Table(kLowClasses.bytes));
  const __m256i highClasses = _mm256_broadcastsi128_si256(Table(kHighClasses.bytes));
  const __m256i highBits = _mm256_broadcastsi128_si256(Table(kHighBits));
  const __m256i firstBytes = _mm256_broadcastsi128_si256(Table(first.bits));
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  const __m256i zero = _mm256_setzero_si256();
  std::uint64_t words = 0, special = 0, notStarters = 0, highBytes = 0;
  for (int k = 0; k < 2; ++k) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + 32 * k));
    const __m256i low = _mm256_and_si256(v, nibble);
    const __m256i top = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
    const __m256i classes = _mm256_and_si256(_mm256_shuffle_epi8(lowClasses, low),
                                             _mm256_shuffle_epi8(highClasses, top));
    const __m256i starts =
        _mm256_and_si256(_mm256_shuffle_epi8(firstBytes, low), _mm256_shuffle_epi8(highBits, top));
    words |= Bits256(
        _mm256_cmpeq_epi8(_mm256_and_si256(classes, _mm256_set1_epi8(kWordEndClasses)), zero), k);
    special |= Bits256(_mm256_cmpgt_epi8(classes, _mm256_set1_epi8(kWordEndClasses)), k);
    notStarters |= Bits256(_mm256_cmpeq_epi8(starts, zero), k);
    highBytes |= Bits256(v, k);
  }
  return {~words, high ? special | highBytes : special, ~notStarters | highBytes};
}

}  // namespace

Classifier Sse2() { return ClassifySse2; }
Classifier Ssse3() { return Core::CpuHasSsse3() ? ClassifySsse3 : nullptr; }
Classifier Avx2() { return Core::CpuHasAvx2() ? ClassifyAvx2 : nullptr; }
const Classifier kClassify = Avx2() ? Avx2() : Ssse3() ? Ssse3() : Sse2();

#else

Classifier Sse2() { return nullptr; }
Classifier Ssse3() { return nullptr; }
Classifier Avx2() { return nullptr; }
const Classifier kClassify = ClassifyPortable;

#endif

}  // namespace CodeWindows
