// What each byte is to the scanner of text lines: the delimiter set of
// the line pass and, in code page 932, the lead bytes, in one table. In
// UTF-8 no byte leads another: every byte of 0x80 and above is a word
// byte, as ASCII never occurs inside a UTF-8 sequence.
#pragma once

#include <cstdint>

#include "foundation/Cp932Text.h"

// A set of ASCII bytes that constant expressions build and read.
class AsciiSet {
 public:
  constexpr AsciiSet() = default;
  // The bytes of `bytes` before its NUL.
  constexpr explicit AsciiSet(const char* bytes) {
    for (; *bytes; ++bytes) Add(static_cast<unsigned char>(*bytes));
  }
  constexpr AsciiSet With(char c) const {
    AsciiSet set = *this;
    set.Add(static_cast<unsigned char>(c));
    return set;
  }
  constexpr bool Has(unsigned char c) const {
    return c < 0x80 && ((m_bits[c >> 6] >> (c & 63)) & 1) != 0;
  }

 private:
  // A byte of 0x80 and above indexes past m_bits, which no constant
  // expression may do: such a set, built as a constant, does not compile.
  constexpr void Add(unsigned char c) { m_bits[c >> 6] |= std::uint64_t(1) << (c & 63); }

  std::uint64_t m_bits[2] = {0, 0};
};

// The bytes that end a word in code: the delimiters, '/', '"' and NUL. No
// byte of 0x80 and above does. Every classifier of code derives its tables
// from this set alone.
inline constexpr AsciiSet kWordEnds = AsciiSet("\t !\"%&'()*+,-./:;<=>?[\\]{|}~").With('\0');
static_assert(kWordEnds.Has('/') && kWordEnds.Has('"') && kWordEnds.Has('\0'),
              "the bytes with classes of their own end words");

enum ByteClass : unsigned char {
  kWordByte,   // joins a word in code
  kDelimiter,  // ends a word in code
  kSlash,      // ends a word; may open a comment
  kQuote,      // ends a word; opens a string
  kLead,       // the first byte of a double-byte character
  kEnd,        // NUL: a scanned line ends with one and holds none
};

class CByteClasses {
 public:
  explicit CByteClasses(bool utf8) : m_bUtf8(utf8) {
    for (int c = 0; c < 256; ++c) {
      const unsigned char byte = static_cast<unsigned char>(c);
      const bool lead = !utf8 && Core::Cp932::IsLeadByte(byte);
      m_class[c] = kWordEnds.Has(byte) ? kDelimiter : lead ? kLead : kWordByte;
    }
    // Word ends with a class of their own.
    m_class[static_cast<unsigned char>('/')] = kSlash;
    m_class[static_cast<unsigned char>('"')] = kQuote;
    m_class[0] = kEnd;
  }
  ByteClass operator[](char c) const { return m_class[static_cast<unsigned char>(c)]; }
  bool IsLead(char c) const { return m_class[static_cast<unsigned char>(c)] == kLead; }
  bool IsUtf8() const { return m_bUtf8; }

 private:
  ByteClass m_class[256];
  bool m_bUtf8;
};

inline const CByteClasses kCp932ByteClasses(false);
inline const CByteClasses kUtf8ByteClasses(true);

inline const CByteClasses& ByteClassesFor(bool utf8) {
  return utf8 ? kUtf8ByteClasses : kCp932ByteClasses;
}
