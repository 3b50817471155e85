// Core::CString: the one text type. A zero-terminated code page 932 string
// in an owned heap block whose capacity is 16, 32, 64 ... and strictly
// greater than the length. Every byte past the terminator is zero, and a
// block is zero-filled (wiped) whenever its text is replaced and before it
// is released. An allocation failure leaves the string empty.
#pragma once

#include <cstdint>

namespace Core {

class CString {
 public:
  CString() = default;
  CString(const char* text);  // NOLINT(google-explicit-constructor): text converts freely
  CString(const CString& other);
  ~CString();

  // Replace the text. Return false when the allocation failed (the string
  // is then empty with no block).
  bool operator=(const CString& other);
  bool operator=(const char* text);

  // Makes room for `length` bytes plus terminator and zero-fills the block,
  // discarding the text. The caller may then write up to `length` bytes.
  bool AllocBuffer(int length);
  // Zero-fills the block and keeps it.
  void Empty();

  CString& operator+=(const char* text);
  CString& operator+=(const CString& other);
  // Appends one byte (a double-byte character takes two calls).
  void AppendChar(char c);

  // Formats with the wvsprintfA syntax into a block of at least 1024 bytes;
  // text beyond 1023 bytes is cut. Returns the number of bytes stored.
  int Format(const char* format, ...);

  // Null for a string that never held a block.
  char* GetBuffer() const { return m_pBuffer; }
  // The text, "" for a null buffer.
  const char* GetText() const { return m_pBuffer ? m_pBuffer : ""; }
  int GetLength() const;
  bool IsEmpty() const { return !m_pBuffer || m_pBuffer[0] == '\0'; }
  std::uint32_t GetCapacity() const { return m_nCapacity; }

  // Byte offset of the first match of `sub` at or after `start`, never
  // inside a double-byte character; -1 when there is none or when
  // start + length(sub) exceeds the capacity.
  int Find(const char* sub, int start = 0) const;

  // Removes `count` bytes at `index`, zeroing the vacated tail; cuts the
  // text at `index` when the range reaches the end.
  void Delete(int index, int count = 1);
  // Remove single-byte white space (a full-width space stays).
  void TrimLeft();
  void TrimRight();
  // Reverses by characters; double-byte characters keep their byte order.
  void MakeReverse();

  // Returns the next token separated by any character of `delimiters`:
  // first = true starts at the beginning, false continues after the last
  // token. The text is not changed. Empty when no token is left.
  CString Tokenize(const char* delimiters, bool first);

  // Exchanges blocks without copying or wiping.
  void Swap(CString& other);

 private:
  // Ensures capacity > length: keeps the block when it is big enough,
  // otherwise wipes, releases and allocates a zero-filled fit-size block.
  // Does not clear a kept block. False (and the string emptied) on failure.
  bool Grow(std::size_t length);
  void ZeroFill();
  void Release();
  bool Assign(const char* text, std::size_t length);
  void Append(const char* text, std::size_t length);

  char* m_pBuffer = nullptr;
  std::uint32_t m_nCapacity = 0;
  std::uint32_t m_nTokenNext = 0;  // where Tokenize(…, false) goes on
};

// A new string holding left followed by right; the operands are unchanged.
CString operator+(const CString& left, const CString& right);

// True when both are empty or both hold the same bytes.
bool operator==(const CString& left, const CString& right);

}  // namespace Core
