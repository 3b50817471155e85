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
#include "engine/CodeWindow.h"
#include "engine/PreProcesser.h"

// A word that may be defined (see CMacroTable::MayHold) is noted, and
// looked up with the line's other such words. The test and the note take
// no branch: whether a word may be defined is as good as random.
inline void CPreProcesser::NoteWord(const char* line, std::size_t start, std::size_t end,
                                    std::size_t* copied) {
  NotedWord& word = m_aNoted[m_nNoted];
  word.start = start;
  word.end = end;
  m_nNoted += m_dictionary.MayHold(line + start, end - start) ? 1 : 0;
  if (m_nNoted == kNotedWords) ExpandNotedWords(line, copied);
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
  if (m_nNoted != 0) ExpandNotedWords(line, &copied);
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
// opened string or comment. Runs of plain code go a window at a time; a
// byte that may open a string or comment, or a lead byte, is taken on its
// own here.
std::size_t CPreProcesser::ScanCode(const char* line, std::size_t length, std::size_t j,
                                    std::size_t* copied) {
  const CByteClasses& classes = *m_pByteClasses;
  for (;;) {
    j = ScanPlainCode(line, length, j, copied);
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
      if (j > length) {
        NoteLastWord(line, length, start, j, copied);
        return j;
      }
      NoteWord(line, start, j, copied);
      if (j == length) return j;
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

// Notes the words of code from j, 64 bytes at a time, up to the end of
// the line, a '/' or '"', a byte of 0x80 and above in code page 932, or a
// word longer than a window: returns where that is, never within a word.
// Lines can be read 64 bytes past their end (see CLineBlock).
std::size_t CPreProcesser::ScanPlainCode(const char* line, std::size_t length, std::size_t j,
                                         std::size_t* copied) {
  const bool high = !m_pByteClasses->IsUtf8();
  const FirstByteSet& first = m_dictionary.FirstBytes();
  for (;;) {
    const CodeWindow window = CodeWindows::kClassify(line + j, high, first);
    const std::size_t left = length - j;  // the NUL's bit, when below 64
    std::uint64_t ends = window.wordEnds;
    std::uint64_t stops = window.special;
    if (left < 64) {
      const std::uint64_t end = std::uint64_t(1) << left;
      ends |= ~(end - 1);
      stops = (stops & (end - 1)) | end;
    }
    // Words that start before `limit` are taken here; the scan returns
    // there or goes on from there. The byte before j never continues a word.
    unsigned limit = stops ? CodeWindows::LowestBit(stops) : 64;
    bool goesOn = false;
    if (limit < 64 && !(ends >> limit & 1)) {
      // A lead byte: it goes back with the word it is in.
      const std::uint64_t before = ends & ((std::uint64_t(1) << limit) - 1);
      limit = before ? CodeWindows::HighestBit(before) + 1 : 0;
    } else if (limit == 64) {
      goesOn = true;
      if (!(ends >> 63)) {
        // The last word may go on past the window: the next starts with it.
        if (ends == 0) return j;
        limit = CodeWindows::HighestBit(ends) + 1;
      }
    }
    const std::uint64_t words = ~ends;
    std::uint64_t starts = words & ~(words << 1) & window.starters;
    if (limit < 64) starts &= (std::uint64_t(1) << limit) - 1;
    while (starts) {
      const unsigned start = CodeWindows::LowestBit(starts);
      const unsigned end = start + CodeWindows::LowestBit(ends >> start);
      NoteWord(line, j + start, j + end, copied);
      starts &= starts - 1;
    }
    if (!goesOn) return j + limit;
    j += limit;
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

// A word that ends with the space after the line, which the line does not
// hold: it is looked up from a copy, after the words before it.
void CPreProcesser::NoteLastWord(const char* line, std::size_t length, std::size_t start,
                                 std::size_t end, std::size_t* copied) {
  ExpandNotedWords(line, copied);
  if (!m_dictionary.MayHold(line + start, end - start)) return;
  m_scratch.Clear();
  if (!m_scratch.Reserve(length - start + 1)) return;
  m_scratch.Append(line + start, length - start);
  m_scratch.AppendChar(' ');
  CMacroTable::Value value;
  if (!m_dictionary.Find(m_scratch.GetText(), end - start, &value)) return;
  m_output.Append(line + *copied, start - *copied);
  ExpandWord(value, m_scratch.GetText(), end - start, m_output);
  *copied = end;
}

// Each word's slot starts loading before the first is looked up, so that
// the lookups wait for memory at the same time.
void CPreProcesser::ExpandNotedWords(const char* line, std::size_t* copied) {
  for (int i = 0; i < m_nNoted; ++i) {
    NotedWord& word = m_aNoted[i];
    word.hash = m_dictionary.Hash(line + word.start, word.end - word.start);
    m_dictionary.Prefetch(word.hash);
  }
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
