#include "PendingLines.h"

#include <new>

namespace {

// Moves a slot's text out and frees the block `line` held before.
void TakeSlot(Core::CString& slot, Core::CString& line) {
  Core::CString released;
  released.Swap(line);
  line.Swap(slot);
}

}  // namespace

void CPendingLines::Reset(Core::CArray<Core::CString>* lines, const Core::FileId* id) {
  Clear();
  m_pSource = lines;
  m_bSourceHasId = id != nullptr;
  if (id) m_sourceId = *id;
}

void CPendingLines::Clear() {
  m_frames.clear();
  m_pSource = nullptr;
  m_nSourceNext = 0;
  m_bSourceHasId = false;
}

bool CPendingLines::Take(Core::CString& line) {
  while (!m_frames.empty()) {
    Frame& top = *m_frames.back();
    if (top.next < top.lines.GetSize()) {
      TakeSlot(top.lines[top.next++], line);
      return true;
    }
    if (top.hasLast) {
      TakeSlot(top.last, line);
      top.hasLast = false;
      return true;
    }
    m_frames.pop_back();
  }
  if (!m_pSource || m_nSourceNext >= m_pSource->GetSize()) return false;
  TakeSlot((*m_pSource)[m_nSourceNext++], line);
  return true;
}

Core::CArray<Core::CString>* CPendingLines::Splice(const Core::FileId* id, Core::CString* last) {
  std::unique_ptr<Frame> frame(new (std::nothrow) Frame);
  if (!frame) return nullptr;
  frame->hasId = id != nullptr;
  if (id) frame->id = *id;
  frame->hasLast = last != nullptr;
  if (last) frame->last.Swap(*last);
  m_frames.push_back(std::move(frame));
  return &m_frames.back()->lines;
}

bool CPendingLines::IsOpen(const Core::FileId& id) const {
  if (m_bSourceHasId && m_sourceId == id) return true;
  for (const auto& frame : m_frames) {
    if (frame->hasId && frame->id == id) return true;
  }
  return false;
}
