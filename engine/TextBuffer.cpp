#include "TextBuffer.h"

#include <cstring>

#include "Memory.h"

CTextBuffer::~CTextBuffer() { Core::ReleaseBlock(m_pData, m_nCapacity); }

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
  Core::ReleaseBlock(m_pData, m_nCapacity);
  m_pData = block;
  m_nCapacity = size;
  m_nLength += length;
}

void CTextBuffer::Clear() {
  if (m_nLength) std::memset(m_pData, 0, m_nLength);
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
