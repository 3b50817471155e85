// CTextBuffer: text under construction in one block (a file's bytes, an
// item's output, its messages). Appends are amortised O(1) because the
// length is kept, unlike CString::operator+= which measures its text on
// every call. The block comes from Core::AllocateBlock and is wiped before
// it is reused or freed; only the bytes ever used are wiped, so a block
// reserved generously costs no memory beyond what is written. An append
// that finds no memory leaves the text as it was; like every failed
// allocation it is counted, and a Core::CAllocationWatch tells it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/String.h"

// Copies n bytes, from sizeof(Word) to twice that, as two words: the first
// and the last, which overlap when n is less than twice the word.
template <class Word>
inline void CopyTwoWords(char* to, const char* from, std::size_t n) {
  Word first, last;
  std::memcpy(&first, from, sizeof(Word));
  std::memcpy(&last, from + n - sizeof(Word), sizeof(Word));
  std::memcpy(to, &first, sizeof(Word));
  std::memcpy(to + n - sizeof(Word), &last, sizeof(Word));
}

// Copies n bytes between blocks that do not overlap. Most of what a line
// pass appends is a few dozen bytes or less: moves of whole words, the
// last overlapping the one before, cost less than a call to memcpy.
inline void CopyBytes(char* to, const char* from, std::size_t n) {
  struct Bytes16 {
    unsigned char b[16];
  };
  if (n > 32) {
    std::memcpy(to, from, n);
  } else if (n >= 16) {
    CopyTwoWords<Bytes16>(to, from, n);
  } else if (n >= 8) {
    CopyTwoWords<std::uint64_t>(to, from, n);
  } else if (n >= 4) {
    CopyTwoWords<std::uint32_t>(to, from, n);
  } else if (n > 0) {
    to[0] = from[0];
    to[n >> 1] = from[n >> 1];
    to[n - 1] = from[n - 1];
  }
}

class CTextBuffer {
 public:
  CTextBuffer() = default;
  CTextBuffer(const CTextBuffer&) = delete;
  CTextBuffer& operator=(const CTextBuffer&) = delete;
  ~CTextBuffer();

  void Append(const char* text, std::size_t length) {
    if (m_nLength + length < m_nCapacity) {
      CopyBytes(m_pData + m_nLength, text, length);
      m_nLength += length;
    } else {
      AppendGrowing(text, length);
    }
  }
  void Append(const char* text);
  void Append(const Core::CString& text) { Append(text.GetText()); }
  // The text followed by CR LF.
  void AppendLine(const char* text, std::size_t length) {
    if (m_nLength + length + 2 < m_nCapacity) {
      CopyBytes(m_pData + m_nLength, text, length);
      m_pData[m_nLength + length] = '\r';
      m_pData[m_nLength + length + 1] = '\n';
      m_nLength += length + 2;
    } else {
      Append(text, length);
      Append("\r\n", 2);
    }
  }
  void AppendChar(char c) {
    if (m_nLength + 1 < m_nCapacity) {
      m_pData[m_nLength++] = c;
    } else {
      AppendGrowing(&c, 1);
    }
  }

  // Makes room for `length` bytes in all, so appends up to it do not move
  // the text (and cannot fail). False when memory ran out.
  bool Reserve(std::size_t length);
  // Room for `count` more bytes after the text, for a caller to fill and
  // then Commit (writing no more than it commits); null when memory ran out.
  char* AppendSpace(std::size_t count) {
    return m_nLength + count < m_nCapacity ? m_pData + m_nLength : AppendSpaceGrowing(count);
  }
  void Commit(std::size_t count) { m_nLength += count; }
  // Shortens the text to `length` bytes, wiping the rest.
  void Truncate(std::size_t length);
  // Wipes the text and keeps the block for the next use.
  void Clear();
  std::size_t GetLength() const { return m_nLength; }
  std::size_t GetCapacity() const { return m_nCapacity; }
  bool IsEmpty() const { return m_nLength == 0; }
  // The text, always zero-terminated.
  const char* GetText() const { return m_pData ? m_pData : ""; }
  // The text for changes in place that keep its length; null with no block.
  char* GetData() { return m_pData; }

  // Exchanges blocks and texts without copying or wiping.
  void Swap(CTextBuffer& other);

  // Replaces `text` by a copy of the buffer in one allocation.
  bool CopyTo(Core::CString& text) const;

 private:
  // Makes the capacity exceed `needed`, at least `atLeast`. A failure
  // leaves the text as it was.
  bool Grow(std::size_t needed, std::size_t atLeast);
  void AppendGrowing(const char* text, std::size_t length);
  char* AppendSpaceGrowing(std::size_t count);

  char* m_pData = nullptr;
  std::size_t m_nLength = 0;
  std::size_t m_nCapacity = 0;
};
