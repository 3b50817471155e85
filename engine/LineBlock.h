// CLineBlock: the lines of one file in one block: its bytes as read, with
// the bytes that never reach a line taken out and every line ended by LF.
// Lines are taken in order; each is handed out zero-terminated in place
// (its LF is overwritten), so it stays valid as long as the block. The
// block also tells the encoding its lines are read in.
//
// A block may instead read its file a piece at a time as its lines are
// taken (see StartReading): a line taken then stays valid until
// the next is taken, and a large file never stands whole in memory.
#pragma once

#include <cstddef>
#include <cstring>

#include "foundation/Compiler.h"
#include "foundation/File.h"
#include "engine/TextBuffer.h"

#ifdef TOVI_X86_SIMD
#include <emmintrin.h>
#endif

class CLineBlock {
 public:
  // A line taken can be read this many bytes past its end (the scanner
  // reads code a window at a time): the block keeps that much room after
  // its text.
  static constexpr std::size_t kReadPastEnd = 64;

  CLineBlock() = default;
  CLineBlock(const CLineBlock&) = delete;
  CLineBlock& operator=(const CLineBlock&) = delete;

  // Wipes the lines and keeps the block for the next file.
  void Clear() {
    m_text.Clear();
    m_nNext = 0;
    m_nAhead = 0;
    m_bUtf8 = false;
    m_pFile = nullptr;
    m_bEndsWithLf = true;
    m_bReadFailed = false;
  }
  CTextBuffer& Text() { return m_text; }
  std::size_t GetLength() const { return m_text.GetLength(); }

  // Read as UTF-8 (true) or code page 932.
  bool IsUtf8() const { return m_bUtf8; }
  void SetUtf8(bool utf8) { m_bUtf8 = utf8; }

  // When the lines begin with the UTF-8 byte order mark, puts the first
  // line's start after it and returns true.
  bool DropByteOrderMark() {
    if (m_nNext != 0 || m_text.GetLength() < 3 ||
        std::memcmp(m_text.GetText(), "\xEF\xBB\xBF", 3) != 0) {
      return false;
    }
    m_nNext = 3;
    return true;
  }

  // The next line and its length; false when none is left, or when
  // reading on ran out of memory or failed (ReadFailed()).
  bool Take(const char** line, std::size_t* length) {
    for (;;) {
      const std::size_t size = m_text.GetLength();
      if (m_nNext < size) {
        char* start = m_text.GetData() + m_nNext;
        char* end = FindLineEnd(start, size - m_nNext);
        if (end) {
          *end = '\0';
          *line = start;
          *length = static_cast<std::size_t>(end - start);
          m_nNext += *length + 1;
          return true;
        }
      }
      // Only a block still reading its file holds a line without its LF.
      if (!m_pFile || !ReadOn()) return false;
    }
  }

  // The lines after the next one to be taken, one at a time, without
  // taking them: the next line not yet looked at (not zero-terminated)
  // and its length; null at the end of what has been read so far. For
  // hints, such as loading what a coming line will need.
  const char* LookAhead(std::size_t* length) {
    const std::size_t size = m_text.GetLength();
    if (m_nAhead < m_nNext) m_nAhead = m_nNext;
    if (m_nAhead >= size) return nullptr;
    char* start = m_text.GetData() + m_nAhead;
    const char* end = FindLineEnd(start, size - m_nAhead);
    if (!end) return nullptr;
    *length = static_cast<std::size_t>(end - start);
    m_nAhead += *length + 1;
    return start;
  }
  // Whether LookAhead has gone past the next line to be taken.
  bool IsLookingAhead() const { return m_nAhead > m_nNext; }

  // Reads the file from where it stands as the lines are taken, from a
  // first piece read now. The file must stay open until the last line is
  // taken or StopReading.
  void StartReading(Core::CFile& file);
  void StopReading() { m_pFile = nullptr; }
  // True while lines are still to be read from the file.
  bool IsReading() const { return m_pFile != nullptr; }
  // A read of the file failed: the lines taken were not all.
  bool ReadFailed() const { return m_bReadFailed; }

  // Appends a line made of the three texts (none holds LF, CR or NUL).
  // False when memory ran out.
  bool AppendLine(const char* first, const char* second, const char* third) {
    const std::size_t length = std::strlen(first) + std::strlen(second) + std::strlen(third) + 1;
    if (!m_text.Reserve(m_text.GetLength() + length + kReadPastEnd)) return false;
    m_text.Append(first);
    m_text.Append(second);
    m_text.Append(third);
    m_text.AppendChar('\n');
    return true;
  }

 private:
  // The first LF of the n bytes at `text`; null when there is none. Lines
  // are short: sixteen bytes a compare, inline, read past the end into the
  // room the block keeps there, cost less than a call to memchr.
  static char* FindLineEnd(char* text, std::size_t n) {
#ifdef TOVI_X86_SIMD
    static_assert(kReadPastEnd >= 15, "a compare reads up to 15 bytes past the text");
    const __m128i lf = _mm_set1_epi8('\n');
    for (std::size_t i = 0; i < n; i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
      const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
      if (mask != 0) {
        const std::size_t at = i + Core::LowestBit32(mask);
        return at < n ? text + at : nullptr;
      }
    }
    return nullptr;
#else
    return static_cast<char*>(std::memchr(text, '\n', n));
#endif
  }
  bool ReadOn();

  CTextBuffer m_text;
  std::size_t m_nNext = 0;   // where the next line starts
  std::size_t m_nAhead = 0;  // where LookAhead goes on
  bool m_bUtf8 = false;
  Core::CFile* m_pFile = nullptr;  // the file still being read
  bool m_bEndsWithLf = true;       // the last byte read so far is LF (or none was read)
  bool m_bReadFailed = false;
};
