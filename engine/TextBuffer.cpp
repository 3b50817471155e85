#include "TextBuffer.h"

#include <cstring>

#include "Memory.h"

// Bytes past the text were never written or are wiped already, so the
// wipe before release stops there instead of touching untouched pages.
CTextBuffer::~CTextBuffer() { Core::ReleaseBlock(m_pData, m_nCapacity, m_nLength); }

void CTextBuffer::Append(const char* text) { Append(text, std::strlen(text)); }

void CTextBuffer::AppendGrowing(const char* text, std::size_t length) {
  const std::size_t size = Core::FitBlockSize(m_nLength + length);
  char* block = size ? static_cast<char*>(Core::AllocateBlock(size)) : nullptr;
  if (!block) {
    m_bFailed = true;
    return;
  }
  if (m_nLength) std::memcpy(block, m_pData, m_nLength);
  std::memcpy(block + m_nLength, text, length);
  Core::ReleaseBlock(m_pData, m_nCapacity, m_nLength);
  m_pData = block;
  m_nCapacity = size;
  m_nLength += length;
}

void CTextBuffer::Reserve(std::size_t length) {
  if (length < m_nCapacity) return;
  const std::size_t size = Core::FitBlockSize(length);
  char* block = size ? static_cast<char*>(Core::AllocateBlock(size)) : nullptr;
  if (!block) {
    m_bFailed = true;
    return;
  }
  if (m_nLength) std::memcpy(block, m_pData, m_nLength);
  Core::ReleaseBlock(m_pData, m_nCapacity, m_nLength);
  m_pData = block;
  m_nCapacity = size;
}

char* CTextBuffer::AppendSpace(std::size_t count) {
  if (m_nLength + count >= m_nCapacity) {
    const std::size_t wanted = m_nLength + count;
    Reserve(wanted < 2 * m_nCapacity ? 2 * m_nCapacity : wanted);
    if (m_nLength + count >= m_nCapacity) return nullptr;
  }
  return m_pData + m_nLength;
}

void CTextBuffer::Truncate(std::size_t length) {
  if (length >= m_nLength) return;
  std::memset(m_pData + length, 0, m_nLength - length);
  m_nLength = length;
}

void CTextBuffer::Clear() {
  if (m_pData) std::memset(m_pData, 0, m_nLength);
  m_nLength = 0;
}

bool CTextBuffer::CopyTo(Core::CString& text) const {
  if (m_nLength == 0) {
    text.Empty();
    return true;
  }
  if (!text.AllocBuffer(static_cast<int>(m_nLength))) return false;
  std::memcpy(text.GetBuffer(), m_pData, m_nLength);
  return true;
}

void CTextBuffer::Swap(CTextBuffer& other) {
  char* const data = m_pData;
  const std::size_t length = m_nLength, capacity = m_nCapacity;
  const bool failed = m_bFailed;
  m_pData = other.m_pData;
  m_nLength = other.m_nLength;
  m_nCapacity = other.m_nCapacity;
  m_bFailed = other.m_bFailed;
  other.m_pData = data;
  other.m_nLength = length;
  other.m_nCapacity = capacity;
  other.m_bFailed = failed;
}
