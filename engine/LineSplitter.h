// Cutting the bytes of a source or included file into lines: LF ends a
// line (an empty one too), CR is dropped wherever it stands, and when the
// last byte is not LF the text reads as if one followed. NUL bytes are
// dropped from source files; in included files a NUL ends its line's text.
#pragma once

#include <cstddef>

#include "File.h"
#include "LineVector.h"
#include "String.h"
#include "TextBuffer.h"

class CLineSplitter {
 public:
  enum NulRule { kDropNul, kNulEndsText };

  CLineSplitter(CLineVector& lines, NulRule rule) : m_lines(lines), m_nRule(rule) {}
  CLineSplitter(const CLineSplitter&) = delete;
  CLineSplitter& operator=(const CLineSplitter&) = delete;

  void Feed(const char* bytes, std::size_t count);
  // Ends the text: supplies the LF that a last line may lack.
  void Finish();
  // True when a line could not be stored for lack of memory.
  bool Failed() const { return m_bFailed || m_line.Failed(); }

 private:
  void EndLine();

  CLineVector& m_lines;
  NulRule m_nRule;
  CTextBuffer m_line;
  bool m_bCut = false;  // a NUL ended the text of the current line
  bool m_bAny = false;
  char m_cLast = '\0';
  bool m_bFailed = false;
};

// Reads the open file to its end (or to a failed read) in 1024-byte chunks
// and appends its lines. False when memory ran out.
bool ReadFileLines(Core::CFile& file, CLineVector& lines, CLineSplitter::NulRule rule);
