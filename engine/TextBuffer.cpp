#include "engine/TextBuffer.h"

#include <cstring>

#include "foundation/Memory.h"

// Bytes past the text were never written or are wiped already, so the
// wipe before release stops there instead of touching untouched pages.
CTextBuffer::~CTextBuffer() { Core::ReleaseBlock(m_pData, m_nCapacity, m_nLength); }

void CTextBuffer::Append(const char* text) { Append(text, std::strlen(text)); }

namespace {

// The block size for `needed` bytes and the terminator: a power of two
// while small, then a multiple of the large-block unit, at least
// `atLeast`. 0 when that would pass the block cap.
std::size_t BlockSizeFor(std::size_t needed, std::size_t atLeast) {
  if (needed < Core::kMaxBlockSize && needed + 1 < Core::kLargeBlockSize) {
    return Core::FitBlockSize(needed);
  }
  if (needed >= Core::kMaxBlockSize) return 0;
  std::size_t wanted = needed + 1 > atLeast ? needed + 1 : atLeast;
  const std::size_t unit = Core::kLargeBlockUnit;
  wanted = (wanted + unit - 1) / unit * unit;
  return wanted > Core::kMaxBlockSize ? Core::kMaxBlockSize : wanted;
}

}  // namespace

bool CTextBuffer::Grow(std::size_t needed, std::size_t atLeast) {
  const std::size_t size = BlockSizeFor(needed, atLeast);
  if (size == 0) {
    Core::NoteAllocationFailure();
    return false;
  }
  void* block = Core::ResizeBlock(m_pData, m_nCapacity, m_nLength, size);
  if (!block) return false;
  m_pData = static_cast<char*>(block);
  m_nCapacity = size;
  return true;
}

void CTextBuffer::AppendGrowing(const char* text, std::size_t length) {
  // The text may lie in this block, which may move.
  const bool own = m_pData && text >= m_pData && text < m_pData + m_nCapacity;
  const std::size_t offset = own ? static_cast<std::size_t>(text - m_pData) : 0;
  if (!Grow(m_nLength + length, m_nCapacity + m_nCapacity / 2)) return;
  std::memcpy(m_pData + m_nLength, own ? m_pData + offset : text, length);
  m_nLength += length;
}

bool CTextBuffer::Reserve(std::size_t length) { return length < m_nCapacity || Grow(length, 0); }

char* CTextBuffer::AppendSpaceGrowing(std::size_t count) {
  if (!Grow(m_nLength + count, m_nCapacity + m_nCapacity / 2)) return nullptr;
  return m_pData + m_nLength;
}

void CTextBuffer::Truncate(std::size_t length) {
  if (length >= m_nLength) return;
  std::memset(m_pData + length, 0, m_nLength - length);
  m_nLength = length;
}

void CTextBuffer::Clear() {
  Core::WipeBlock(m_pData, m_nCapacity, m_nLength);
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
  m_pData = other.m_pData;
  m_nLength = other.m_nLength;
  m_nCapacity = other.m_nCapacity;
  other.m_pData = data;
  other.m_nLength = length;
  other.m_nCapacity = capacity;
}
