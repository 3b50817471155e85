#include "foundation/String.h"

#include <cstdarg>
#include <cstring>

#include "foundation/Cp932Text.h"
#include "foundation/Format.h"
#include "foundation/Memory.h"

namespace Core {

CString::CString(const char* text) {
  if (text) Assign(text, std::strlen(text));
}

CString::CString(const CString& other) {
  // A source with no block stays without one; an empty text gets a block.
  if (other.m_pBuffer) Assign(other.m_pBuffer, std::strlen(other.m_pBuffer));
}

CString::~CString() { Release(); }

void CString::Release() {
  ReleaseBlock(m_pBuffer, m_nCapacity);
  m_pBuffer = nullptr;
  m_nCapacity = 0;
  m_nTokenNext = 0;
}

void CString::ZeroFill() {
  if (m_pBuffer) std::memset(m_pBuffer, 0, m_nCapacity);
}

bool CString::Grow(std::size_t length) {
  if (length < m_nCapacity) return true;
  Release();
  const std::size_t size = FitBlockSize(length);
  void* block = size ? AllocateBlock(size) : nullptr;
  if (!block) return false;
  m_pBuffer = static_cast<char*>(block);
  m_nCapacity = static_cast<std::uint32_t>(size);
  return true;
}

bool CString::Assign(const char* text, std::size_t length) {
  // The text may lie in this string's own block: copy it out before the
  // block is cleared, then store it in the same block.
  if (m_pBuffer && text >= m_pBuffer && text < m_pBuffer + m_nCapacity) {
    const CString copy(text);
    if (!copy.m_pBuffer) {
      Release();
      return false;
    }
    return Assign(copy.m_pBuffer, length);
  }
  if (!Grow(length)) return false;
  ZeroFill();
  std::memcpy(m_pBuffer, text, length);
  return true;
}

bool CString::operator=(const CString& other) {
  if (&other == this) return true;
  if (!other.m_pBuffer) {
    ZeroFill();
    return true;
  }
  return Assign(other.m_pBuffer, std::strlen(other.m_pBuffer));
}

bool CString::operator=(const char* text) {
  if (text == m_pBuffer && text) return true;
  if (!text) {
    ZeroFill();
    return true;
  }
  return Assign(text, std::strlen(text));
}

bool CString::AllocBuffer(int length) {
  if (length < 0 || !Grow(static_cast<std::size_t>(length))) return false;
  ZeroFill();
  return true;
}

void CString::Empty() { ZeroFill(); }

int CString::GetLength() const { return m_pBuffer ? static_cast<int>(std::strlen(m_pBuffer)) : 0; }

void CString::Append(const char* text, std::size_t length) {
  const std::size_t current = std::strlen(m_pBuffer);
  const std::size_t needed = current + length + 2;
  if (needed < m_nCapacity) {
    // The bytes past the terminator are zero already.
    std::memmove(m_pBuffer + current, text, length);
    return;
  }
  const std::size_t size = FitBlockSize(needed);
  char* block = size ? static_cast<char*>(AllocateBlock(size)) : nullptr;
  if (block) {
    std::memcpy(block, m_pBuffer, current);
    std::memcpy(block + current, text, length);
  }
  Release();
  if (!block) return;
  m_pBuffer = block;
  m_nCapacity = static_cast<std::uint32_t>(size);
}

CString& CString::operator+=(const char* text) {
  if (!text) return *this;
  if (IsEmpty()) {
    Assign(text, std::strlen(text));
  } else {
    Append(text, std::strlen(text));
  }
  return *this;
}

CString& CString::operator+=(const CString& other) {
  if (other.IsEmpty()) return *this;
  return *this += other.m_pBuffer;
}

void CString::AppendChar(char c) {
  if (!m_pBuffer) {
    if (!Grow(0)) return;
  } else if (m_nCapacity < std::strlen(m_pBuffer) + 2) {
    Append(&c, 1);
    return;
  }
  m_pBuffer[std::strlen(m_pBuffer)] = c;
}

int CString::Format(const char* format, ...) {
  // Format into a scratch block first, so arguments taken from this
  // string's own buffer are read before it is cleared.
  char text[kFormatBufferSize];
  va_list args;
  va_start(args, format);
  const int length = FormatText(text, sizeof text, format, args);
  va_end(args);
  if (m_nCapacity <= 1000) Release();
  if (!Grow(1000)) return 0;
  ZeroFill();
  std::memcpy(m_pBuffer, text, static_cast<std::size_t>(length));
  return length;
}

int CString::Find(const char* sub, int start) const {
  if (!sub || start < 0) return -1;
  const std::size_t subLength = std::strlen(sub);
  if (!m_pBuffer) return start == 0 && subLength == 0 ? 0 : -1;
  // The bound is the block, not the text.
  if (static_cast<std::size_t>(start) + subLength > m_nCapacity ||
      static_cast<std::size_t>(start) >= m_nCapacity) {
    return -1;
  }
  const char* match = Cp932::FindSubstring(m_pBuffer + start, sub);
  return match ? static_cast<int>(match - m_pBuffer) : -1;
}

void CString::Delete(int index, int count) {
  const int length = GetLength();
  if (index < 0 || count < 0 || index >= length) return;
  if (count >= length - index) {
    std::memset(m_pBuffer + index, 0, static_cast<std::size_t>(length - index));
    return;
  }
  std::memmove(m_pBuffer + index, m_pBuffer + index + count,
               static_cast<std::size_t>(length - index - count));
  std::memset(m_pBuffer + length - count, 0, static_cast<std::size_t>(count));
}

void CString::TrimLeft() {
  if (!m_pBuffer) return;
  const char* p = m_pBuffer;
  while (*p && Cp932::IsSpace(*p)) p = Cp932::Next(p);
  if (p != m_pBuffer) *this = p;
}

void CString::MakeReverse() {
  if (m_pBuffer) Cp932::Reverse(m_pBuffer, std::strlen(m_pBuffer));
}

void CString::TrimRight() {
  MakeReverse();
  TrimLeft();
  MakeReverse();
}

CString CString::Tokenize(const char* delimiters, bool first) {
  CString token;
  if (!m_pBuffer || !delimiters) return token;
  std::size_t pos = first ? 0 : m_nTokenNext;
  const std::size_t length = std::strlen(m_pBuffer);
  if (pos > length) pos = length;  // the text was shortened in between
  std::size_t start = 0;
  std::size_t tokenLength = 0;
  if (Cp932::NextToken(m_pBuffer, delimiters, &pos, &start, &tokenLength)) {
    if (token.Grow(tokenLength)) std::memcpy(token.m_pBuffer, m_pBuffer + start, tokenLength);
  }
  m_nTokenNext = static_cast<std::uint32_t>(pos);
  return token;
}

void CString::Swap(CString& other) {
  char* buffer = m_pBuffer;
  m_pBuffer = other.m_pBuffer;
  other.m_pBuffer = buffer;
  const std::uint32_t capacity = m_nCapacity;
  m_nCapacity = other.m_nCapacity;
  other.m_nCapacity = capacity;
  const std::uint32_t next = m_nTokenNext;
  m_nTokenNext = other.m_nTokenNext;
  other.m_nTokenNext = next;
}

CString operator+(const CString& left, const CString& right) {
  if (right.IsEmpty()) return left;
  if (left.IsEmpty()) return right;
  const std::size_t leftLength = std::strlen(left.GetText());
  const std::size_t rightLength = std::strlen(right.GetText());
  CString result;
  if (result.AllocBuffer(static_cast<int>(leftLength + rightLength))) {
    std::memcpy(result.GetBuffer(), left.GetText(), leftLength);
    std::memcpy(result.GetBuffer() + leftLength, right.GetText(), rightLength);
  }
  return result;
}

bool operator==(const CString& left, const CString& right) {
  if (left.IsEmpty() || right.IsEmpty()) return left.IsEmpty() && right.IsEmpty();
  return std::strcmp(left.GetText(), right.GetText()) == 0;
}

}  // namespace Core
