#include "Lookahead.h"

#include "ByteClasses.h"

// The next word after m_pNext that might be defined, as the scanner would
// cut it in code.
bool CLookahead::NextWord(const CMacroTable& table, std::uint32_t* hash) {
  const char* p = m_pNext;
  while (p < m_pEnd) {
    const ByteClass c = kByteClasses[*p];
    if ((c != kWordByte && c != kLead) || *p == '\n') {
      ++p;
      continue;
    }
    const char* start = p;
    while (p < m_pEnd && *p != '\n') {
      const ByteClass w = kByteClasses[*p];
      if (w == kWordByte) {
        ++p;
      } else if (w == kLead) {
        p += 2;
      } else {
        break;
      }
    }
    if (p > m_pEnd) p = m_pEnd;
    const std::size_t length = static_cast<std::size_t>(p - start);
    if (table.MayHold(start, length)) {
      m_pNext = p;
      *hash = table.HashName(start, length);
      return true;
    }
  }
  m_pNext = m_pEnd;
  return false;
}

void CLookahead::Step(const CMacroTable& table, const char* begin, const char* end) {
  if (end != m_pEnd || m_pNext < begin) {
    m_pNext = begin;
    m_pEnd = end;
    m_nCount = 0;
  }
  if (m_nCount > 0) {  // the word being looked up now
    m_nFirst = (m_nFirst + 1) % kDepth;
    --m_nCount;
  }
  // Up to two words a step, so that after a reset the distance builds up.
  for (int i = 0; i < 2 && m_nCount < kDepth; ++i) {
    std::uint32_t hash;
    if (!NextWord(table, &hash)) break;
    table.PrefetchSlot(hash);
    m_aHashes[(m_nFirst + m_nCount) % kDepth] = hash;
    ++m_nCount;
  }
  if (m_nCount > kLag) table.PrefetchRecord(m_aHashes[(m_nFirst + kLag) % kDepth]);
}
