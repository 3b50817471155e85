// Classifying code 64 bytes at a time, for the scanner of text lines: which
// bytes end a word, which need a look of their own, and which may start a
// defined name. Where the processor has SSSE3 each 16 bytes take a few
// table lookups (32 bytes at a time with AVX2); elsewhere SSE2 compares
// ranges, or a loop reads each byte.
#pragma once

#include <cstdint>

#include "engine/ByteClasses.h"
#include "foundation/Compiler.h"

// Bit i of each mask stands for the byte at i.
struct CodeWindow {
  std::uint64_t wordEnds;  // delimiters, '/', '"' and NUL
  std::uint64_t special;   // '/', '"' and, when asked, every byte of 0x80 and above
  std::uint64_t starters;  // may start a defined name: at least those that do, and every
                           // byte of 0x80 and above
};

// The first bytes of defined names: bit (c >> 4) & 7 of entry c & 15, in
// the first 16 entries for a byte c below 0x80 (the table the classifiers
// look up) and in the last 16 for the others.
struct alignas(16) FirstByteSet {
  unsigned char bits[32];
  void Clear() {
    for (unsigned char& b : bits) b = 0;
  }
  void Add(unsigned char c) { bits[Entry(c)] |= static_cast<unsigned char>(1u << ((c >> 4) & 7)); }
  bool Has(unsigned char c) const { return (bits[Entry(c)] >> ((c >> 4) & 7)) & 1; }

 private:
  static unsigned Entry(unsigned char c) { return (c & 15u) | ((c >> 3) & 16u); }
};

namespace CodeWindows {

// The place of the lowest and of the highest bit set; `bits` is not 0.
inline unsigned LowestBit(std::uint64_t bits) { return Core::LowestBit64(bits); }
inline unsigned HighestBit(std::uint64_t bits) { return Core::HighestBit64(bits); }

// Whether the byte ends a word in code (no byte of 0x80 and above does).
inline bool EndsWord(unsigned char c) { return kWordEnds.Has(c); }

// Classifies the 64 bytes at `text`, all of which must be readable; bytes
// of 0x80 and above are special when `high` is set.
using Classifier = CodeWindow (*)(const char* text, bool high, const FirstByteSet& first);

CodeWindow ClassifyPortable(const char* text, bool high, const FirstByteSet& first);
// Null where the processor lacks the instructions.
Classifier Sse2();
Classifier Ssse3();
Classifier Avx2();

// The fastest of them on this processor.
extern const Classifier kClassify;

}  // namespace CodeWindows
