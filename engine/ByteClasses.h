// What each byte is to the scanner of text lines: the delimiter set of
// the line pass and, in code page 932, the lead bytes, in one table. In
// UTF-8 no byte leads another: every byte of 0x80 and above is a word
// byte, as ASCII never occurs inside a UTF-8 sequence.
#pragma once

#include "foundation/Cp932Text.h"

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
      const bool lead = !utf8 && Core::Cp932::IsLeadByte(static_cast<unsigned char>(c));
      m_class[c] = lead ? kLead : kWordByte;
    }
    for (const char* p = "\t !%&'()*+,-.:;<=>?[\\]{|}~"; *p; ++p) {
      m_class[static_cast<unsigned char>(*p)] = kDelimiter;
    }
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
