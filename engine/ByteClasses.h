// What each byte is to the scanner of text lines: the delimiter set of
// the line pass and the lead bytes of code page 932, in one table.
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
  CByteClasses() {
    for (int c = 0; c < 256; ++c) {
      m_class[c] = Core::Cp932::IsLeadByte(static_cast<unsigned char>(c)) ? kLead : kWordByte;
    }
    for (const char* p = "\t !%&'()*+,-.:;<=>?[\\]{|}~"; *p; ++p) {
      m_class[static_cast<unsigned char>(*p)] = kDelimiter;
    }
    m_class[static_cast<unsigned char>('/')] = kSlash;
    m_class[static_cast<unsigned char>('"')] = kQuote;
    m_class[0] = kEnd;
  }
  ByteClass operator[](char c) const { return m_class[static_cast<unsigned char>(c)]; }

 private:
  ByteClass m_class[256];
};

inline const CByteClasses kByteClasses;
