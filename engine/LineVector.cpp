#include "LineVector.h"

void CLineVector::Add(Core::CString& line) {
  m_entries.emplace_back();
  m_entries.back().text.Swap(line);
}

bool CLineVector::MoveTo(Core::CArray<Core::CString>& lines) {
  const int base = lines.GetSize();
  const bool grown = lines.SetSize(base + GetSize());
  if (grown) {
    for (int i = 0; i < GetSize(); ++i) lines[base + i].Swap((*this)[i]);
  }
  m_entries.clear();
  return grown;
}
