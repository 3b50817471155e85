// The lexical scanner of text lines. A line is read as if one space
// followed it (the NUL that ends it stands for that space): it only serves
// as the byte after the last one, and as the second byte of a lead byte at
// the end, which then reaches the output. The scanned line goes straight to
// the output: the bytes since the last expanded word are copied when the
// next word is expanded or the line ends. The words that may be defined
// are looked up after the line is scanned, all together, so that their
// lookups wait for memory at the same time rather than one after another.
#include "engine/ByteClasses.h"
#include "engine/ByteRuns.h"
#include "engine/PreProcesser.h"

// A word that may be defined (see CMacroTable::MayHold): its slot starts
// loading now, and it is looked up with the line's other such words.
inline void CPreProcesser::NoteWord(const char* line, std::size_t length, std::size_t start,
                                    std::size_t end, std::size_t* copied) {
  if (end > length || m_nNoted == kNotedWords) {
    NoteWordSlowly(line, length, start, end, copied);
    return;
  }
  NotedWord& word = m_aNoted[m_nNoted++];
  word.start = start;
  word.end = end;
  word.hash = m_dictionary.Hash(line + start, end - start);
  m_dictionary.Prefetch(word.hash);
}

void CPreProcesser::ScanAndEmit(const char* line, std::size_t length) {
  std::size_t copied = 0;  // bytes of the line already in the output
  std::size_t j = 0;
  m_nNoted = 0;
  while (j < length) {
    switch (m_nState) {
      case kCode:
      case kActiveBranch:
        j = ScanCode(line, length, j, &copied);
        break;
      case kString:
        j = ScanString(line, length, j);
        break;
      case kBlockComment:
        j = ScanBlockComment(line, length, j);
        break;
      default:
        j = ScanLineComment(line, length, j);
        break;
    }
  }
  if (m_nNoted != 0) ExpandNotedWords(line, length, &copied);
  const std::size_t rest = copied < length ? length - copied : 0;
  if (j > length && copied <= length) {
    // j passed the end: a last lead byte took the space after the line.
    m_output.Append(line + copied, rest);
    m_output.AppendChar(' ');
    m_output.Append("\r\n", 2);
  } else {
    m_output.AppendLine(line + copied, rest);
  }
  ++m_nOutputLines;
}

// From j in code to the end of the line or to the first byte after an
// opened string or comment. Runs of delimiters and of word bytes are tight
// loops: a branch per byte class would mostly guess wrong.
std::size_t CPreProcesser::ScanCode(const char* line, std::size_t length, std::size_t j,
                                    std::size_t* copied) {
  const CByteClasses& classes = *m_pByteClasses;
  for (;;) {
    ByteClass c;
    while ((c = classes[line[j]]) == kDelimiter) ++j;
    if (c == kWordByte || c == kLead) {
      const std::size_t start = j;
      for (;;) {
        j = ByteRuns::SkipWordBytes(line, j, length + 1);
        while ((c = classes[line[j]]) == kWordByte) ++j;
        if (c != kLead) break;
        // With its second byte, whatever that is, the space after the line included.
        j += 2;
        if (j > length) break;
      }
      if (m_dictionary.MayHold(line + start, j - start)) NoteWord(line, length, start, j, copied);
      if (j >= length) return j;
    } else if (c == kSlash) {
      const char next = line[j + 1];  // the NUL stands for the space after the line
      if (next == '*' || next == '/') {
        m_nSavedState = m_nState;
        m_nState = next == '*' ? kBlockComment : kLineComment;
        return j + 2;
      }
      ++j;
    } else if (c == kQuote) {
      m_nSavedState = m_nState;
      m_nState = kString;
      return j + 1;
    } else {
      return j;  // the end of the line
    }
  }
}

// Moves j to the next byte that may end a string or comment: `stop`, the
// NUL after the line, or another byte that stands for itself, stepping
// over double-byte characters. *prevDouble tells whether the character
// before it is double-byte. Past the length when a last lead byte took the
// space after the line.
std::size_t CPreProcesser::NextCandidate(const char* line, std::size_t length, std::size_t j,
                                         char stop, bool* prevDouble) const {
  const CByteClasses& classes = *m_pByteClasses;
  const bool leads = !classes.IsUtf8();
  for (;;) {
    // Other ASCII bytes stand for themselves: skipped, the last is single.
    const std::size_t next = ByteRuns::FindStop(line, j, length + 1, stop, leads);
    if (next != j) {
      j = next;
      *prevDouble = false;
    }
    if (classes[line[j]] != kLead) return j;
    j += 2;
    if (j > length) return j;
    *prevDouble = true;
  }
}

// A string ends at a double quote unless a backslash that is a character
// of its own stands right before it; a quote at the start of a line always
// ends it.
std::size_t CPreProcesser::ScanString(const char* line, std::size_t length, std::size_t j) {
  bool prevDouble = false;
  for (;;) {
    j = NextCandidate(line, length, j, '"', &prevDouble);
    if (j > length || line[j] == '\0') return j;
    if (line[j] == '"' && !(j > 0 && line[j - 1] == '\\' && !prevDouble)) {
      m_nState = m_nSavedState;
      m_nSavedState = -1;
      return j + 1;
    }
    ++j;
    prevDouble = false;
  }
}

// A block comment ends at a slash right after an asterisk that is a
// character of its own, never at a slash at the start of a line.
std::size_t CPreProcesser::ScanBlockComment(const char* line, std::size_t length, std::size_t j) {
  bool prevDouble = false;
  for (;;) {
    j = NextCandidate(line, length, j, '/', &prevDouble);
    if (j > length || line[j] == '\0') return j;
    if (line[j] == '/' && j > 0 && line[j - 1] == '*' && !prevDouble) {
      m_nState = m_nSavedState;
      m_nSavedState = -1;
      return j + 1;
    }
    ++j;
    prevDouble = false;
  }
}

// A line comment runs to the end; only a lead byte at the very end matters.
std::size_t CPreProcesser::ScanLineComment(const char* line, std::size_t length, std::size_t j) {
  const CByteClasses& classes = *m_pByteClasses;
  if (classes[line[length - 1]] != kLead) return length;
  while (j < length) j += classes[line[j]] == kLead ? 2 : 1;
  return j;
}

// When the words noted fill their room, or this word ends with the space
// after the line, which the line does not hold: it is then looked up from
// a copy, after the words before it.
void CPreProcesser::NoteWordSlowly(const char* line, std::size_t length, std::size_t start,
                                   std::size_t end, std::size_t* copied) {
  ExpandNotedWords(line, length, copied);
  if (end <= length) {
    NoteWord(line, length, start, end, copied);
    return;
  }
  m_scratch.Clear();
  m_scratch.Append(line + start, length - start);
  m_scratch.AppendChar(' ');
  if (m_scratch.Failed()) {
    m_bOutOfMemory = true;
    return;
  }
  CMacroTable::Value value;
  if (!m_dictionary.Find(m_scratch.GetText(), end - start, &value)) return;
  m_output.Append(line + *copied, start - *copied);
  ExpandWord(value, m_scratch.GetText(), end - start, m_output);
  *copied = end;
}

void CPreProcesser::ExpandNotedWords(const char* line, std::size_t, std::size_t* copied) {
  for (int i = 0; i < m_nNoted; ++i) {
    const NotedWord& word = m_aNoted[i];
    const std::size_t wordLength = word.end - word.start;
    CMacroTable::Value value;
    if (!m_dictionary.Find(line + word.start, wordLength, word.hash, &value)) continue;
    m_output.Append(line + *copied, word.start - *copied);
    ExpandWord(value, line + word.start, wordLength, m_output);
    *copied = word.end;
  }
  m_nNoted = 0;
}
