#include "engine/PendingLines.h"

void CPendingLines::Reset(CLineBlock* lines, const Core::FileId* id) {
  Clear();
  m_pSource = lines;
  m_bSourceHasId = id != nullptr;
  if (id) m_sourceId = *id;
}

void CPendingLines::Clear() {
  m_nDepth = 0;
  m_pSource = nullptr;
  m_bSourceHasId = false;
}

// The innermost inclusion's next line, or the first after it ends.
bool CPendingLines::TakeIncluded(const char** line, std::size_t* length) {
  while (m_nDepth > 0) {
    if (m_frames[m_nDepth - 1].lines.Take(line, length)) return true;
    --m_nDepth;
  }
  return m_pSource && m_pSource->Take(line, length);
}

CLineBlock* CPendingLines::Splice(const Core::FileId* id) {
  if (m_nDepth >= kMaxFrames) return nullptr;
  Frame& frame = m_frames[m_nDepth++];
  frame.lines.Clear();
  frame.hasId = id != nullptr;
  if (id) frame.id = *id;
  return &frame.lines;
}

bool CPendingLines::IsOpen(const Core::FileId& id) const {
  if (m_bSourceHasId && m_sourceId == id) return true;
  for (int i = 0; i < m_nDepth; ++i) {
    if (m_frames[i].hasId && m_frames[i].id == id) return true;
  }
  return false;
}
