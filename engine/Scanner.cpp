// The lexical scanner of text lines. The output of a line is the line
// itself except where a word is expanded (and where a lead byte at the end
// takes the space appended to the line as its second byte), so the output
// is only assembled once the first such change happens.
#include "Cp932Text.h"
#include "PreProcesser.h"

namespace {

class CDelimiterTable {
 public:
  CDelimiterTable() {
    for (const char* p = "\t !%&'()*+,-.:;<=>?[\\]{|}~"; *p; ++p)
      m_bDelimiter[static_cast<unsigned char>(*p)] = true;
  }
  bool operator[](unsigned char c) const { return m_bDelimiter[c]; }

 private:
  bool m_bDelimiter[256] = {};
};

const CDelimiterTable kDelimiters;

// A byte that ends a word in code; the slash and the double quote end one too.
bool EndsWord(unsigned char c) { return kDelimiters[c] || c == '/' || c == '"'; }

}  // namespace

// The line as the scanner sees it: its bytes followed by one space.
struct CPreProcesser::ScanOutput {
  const char* text;
  std::size_t length;  // without the appended space
  std::size_t copied;  // bytes of the line already in m_scanOut
  bool changed;

  char At(std::size_t j) const { return j < length ? text[j] : ' '; }
};

namespace {

void AppendRange(CTextBuffer& out, const char* text, std::size_t length, std::size_t from,
                 std::size_t to) {
  if (from < length) out.Append(text + from, (to < length ? to : length) - from);
  if (to > length && from <= length) out.AppendChar(' ');
}

}  // namespace

bool CPreProcesser::ScanLine(const char* text, std::size_t length) {
  m_scanOut.Clear();
  ScanOutput scan{text, length, 0, false};
  std::size_t wordStart = 0;
  bool inWord = false;
  bool prevDouble = false;
  std::size_t j = 0;
  while (j < length) {
    const unsigned char c = static_cast<unsigned char>(text[j]);
    const bool code = m_nState == kCode || m_nState == kActiveBranch;
    if (Core::Cp932::IsLeadByte(c)) {
      // With its second byte, wherever that is; in code it joins the word.
      if (code && !inWord) {
        inWord = true;
        wordStart = j;
      }
      j += 2;
      prevDouble = true;
      continue;
    }
    if (code) {
      if (!EndsWord(c)) {
        if (!inWord) {
          inWord = true;
          wordStart = j;
        }
        ++j;
        prevDouble = false;
        continue;
      }
      if (inWord) {
        FlushWord(scan, wordStart, j);
        inWord = false;
      }
      const char next = scan.At(j + 1);
      int opens = -1;
      if (c == '/' && next == '*') {
        opens = kBlockComment;
        ++j;
      } else if (c == '/' && next == '/') {
        opens = kLineComment;
        ++j;
      } else if (c == '"') {
        opens = kString;
      }
      if (opens >= 0) {
        m_nSavedState = m_nState;
        m_nState = opens;
      }
    } else if (m_nState == kString) {
      // Escaped only by a backslash that is a character of its own.
      const bool escaped = j > 0 && text[j - 1] == '\\' && !prevDouble;
      if (c == '"' && !escaped) {
        m_nState = m_nSavedState;
        m_nSavedState = -1;
      }
    } else if (m_nState == kBlockComment) {
      if (c == '/' && j > 0 && text[j - 1] == '*' && !prevDouble) {
        m_nState = m_nSavedState;
        m_nSavedState = -1;
      }
    }
    ++j;
    prevDouble = false;
  }
  if (inWord) FlushWord(scan, wordStart, j);
  // j passed the end: a last lead byte took the appended space.
  if (j > length) scan.changed = true;
  if (scan.changed) AppendRange(m_scanOut, text, length, scan.copied, j);
  return scan.changed;
}

void CPreProcesser::FlushWord(ScanOutput& scan, std::size_t start, std::size_t end) {
  if (m_dictionary.IsEmpty()) return;
  const char* word = scan.text + start;
  if (end > scan.length) {  // the word ends with the appended space
    m_word.Clear();
    m_word.Append(word, scan.length - start);
    m_word.AppendChar(' ');
    word = m_word.GetText();
  }
  const std::size_t wordLength = end - start;
  const CDictionary* entry = m_dictionary.Find(word, wordLength);
  if (!entry) return;
  AppendRange(m_scanOut, scan.text, scan.length, scan.copied, start);
  ExpandWord(*entry, word, wordLength, m_scanOut);
  scan.copied = end;
  scan.changed = true;
}
