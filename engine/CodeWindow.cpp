#include "engine/CodeWindow.h"

#if defined(__SSE2__)
#include <immintrin.h>
#define TOVI_CODE_WINDOW_X86 1
#endif

namespace CodeWindows {

CodeWindow ClassifyPortable(const char* text, bool high, const FirstByteSet& first) {
  CodeWindow window{0, 0, 0};
  for (int i = 0; i < 64; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::uint64_t bit = std::uint64_t(1) << i;
    if (c < 0x80 && EndsWord(c)) window.wordEnds |= bit;
    if (c == '"' || c == '/' || (high && c >= 0x80)) window.special |= bit;
    if (c >= 0x80 || first.Has(c)) window.starters |= bit;
  }
  return window;
}

#ifdef TOVI_CODE_WINDOW_X86

namespace {

inline std::uint64_t Bits(__m128i mask, int block) {
  return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(mask))) << (16 * block);
}

// Ranges by signed compares: bytes of 0x80 and above are below every bound.
inline __m128i Within(__m128i v, char low, char top) {
  return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                       _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(top + 1)), v));
}

// Every byte may start a name here: the scanner's own test decides.
CodeWindow ClassifySse2(const char* text, bool high, const FirstByteSet&) {
  CodeWindow window{0, 0, ~std::uint64_t(0)};
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * k));
    const __m128i folded = _mm_or_si128(v, _mm_set1_epi8(0x20));
    __m128i ends = _mm_or_si128(Within(v, 0x20, 0x2F), Within(v, 0x3A, 0x3F));
    ends = _mm_andnot_si128(Within(v, 0x23, 0x24), ends);
    ends = _mm_or_si128(ends, Within(folded, 0x7B, 0x7D));
    ends = _mm_or_si128(ends, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(0x7E)),
                                           _mm_cmpeq_epi8(v, _mm_set1_epi8('\t'))));
    ends = _mm_or_si128(ends, _mm_cmpeq_epi8(v, _mm_setzero_si128()));
    const __m128i quoteOrSlash =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('/')));
    window.wordEnds |= Bits(ends, k);
    window.special |= Bits(quoteOrSlash, k);
    if (high) window.special |= Bits(v, k);
  }
  return window;
}

// A byte's class is the AND of one table entry for its low nibble and one
// for its high nibble; each bit below stands for a rectangle of bytes:
//   0x01 NUL and tab        0x02 0x20-0x2F but for '#' and '$'
//   0x04 0x3A-0x3F          0x08 [\] and {|}
//   0x10 '~'                0x20 '"' and '/' (special)
// Bytes of 0x80 and above have high nibbles whose entries are 0. A first
// byte is found the same way in FirstByteSet's table.
alignas(16) const unsigned char kLowClasses[16] = {0x03, 0x02, 0x22, 0,    0,    0x02, 0x02, 0x02,
                                                   0x02, 0x03, 0x06, 0x0E, 0x0E, 0x0E, 0x16, 0x26};
alignas(16) const unsigned char kHighClasses[16] = {0x01, 0, 0x22, 0x04, 0, 0x08, 0, 0x18,
                                                    0,    0, 0,    0,    0, 0,    0, 0};
alignas(16) const
    unsigned char kHighBits[16] = {1, 2, 4, 8, 16, 32, 64, 128, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr char kWordEndClasses = 0x1F;

inline __m128i Table(const unsigned char* table) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(table));
}

__attribute__((target("ssse3"))) CodeWindow ClassifySsse3(const char* text, bool high,
                                                          const FirstByteSet& first) {
  const __m128i lowClasses = Table(kLowClasses), highClasses = Table(kHighClasses);
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

__attribute__((target("avx2"))) inline std::uint64_t Bits256(__m256i mask, int block) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(mask)))
         << (32 * block);
}

// The same 32 bytes at a time: each half of a 256-bit shuffle looks up
// its own copy of the table.
__attribute__((target("avx2"))) CodeWindow ClassifyAvx2(const char* text, bool high,
                                                        const FirstByteSet& first) {
  const __m256i lowClasses = _mm256_broadcastsi128_si256(Table(kLowClasses));
  const __m256i highClasses = _mm256_broadcastsi128_si256(Table(kHighClasses));
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

bool Supports(const char* feature) {
#if defined(__GNUC__)
  __builtin_cpu_init();
  return feature[0] == 's' ? __builtin_cpu_supports("ssse3") : __builtin_cpu_supports("avx2");
#else
  (void)feature;
  return false;
#endif
}

}  // namespace

Classifier Sse2() { return ClassifySse2; }
Classifier Ssse3() { return Supports("ssse3") ? ClassifySsse3 : nullptr; }
Classifier Avx2() { return Supports("avx2") ? ClassifyAvx2 : nullptr; }
const Classifier kClassify = Avx2() ? Avx2() : Ssse3() ? Ssse3() : Sse2();

#else

Classifier Sse2() { return nullptr; }
Classifier Ssse3() { return nullptr; }
Classifier Avx2() { return nullptr; }
const Classifier kClassify = ClassifyPortable;

#endif

}  // namespace CodeWindows
