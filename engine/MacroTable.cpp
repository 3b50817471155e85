#include "MacroTable.h"

#include <cstring>
#include <new>

namespace {

std::size_t Length(const Core::CString& text) { return std::strlen(text.GetText()); }

void MoveEntry(CDictionary& from, CDictionary& to) {
  to.m_strName.Swap(from.m_strName);
  to.m_strValue.Swap(from.m_strValue);
}

// Compaction waits until removed slots are at least half of all, so its
// cost is paid for by the removals before it.
constexpr int kCompactAfter = 32;

}  // namespace

void CMacroTable::Clear() {
  m_index.Clear();
  m_pEntries->SetSize(0);
  m_nRemoved = 0;
  std::memset(m_bFirstByte, 0, sizeof m_bFirstByte);
  m_nLongest = 0;
}

const CDictionary* CMacroTable::Find(const char* name, std::size_t length) const {
  if (length == 0 || length > m_nLongest || !m_bFirstByte[static_cast<unsigned char>(name[0])]) {
    return nullptr;
  }
  const int position = m_index.Find(name, length);
  return position < 0 ? nullptr : &(*m_pEntries)[position];
}

const CDictionary* CMacroTable::Find(const Core::CString& name) const {
  return Find(name.GetText(), Length(name));
}

bool CMacroTable::Define(const Core::CString& name, const Core::CString& value) {
  const int position = m_index.Find(name.GetText(), Length(name));
  if (position < 0) return Append(name, value);
  const bool stored = ((*m_pEntries)[position].m_strValue = value);
  return stored;
}

bool CMacroTable::Append(const Core::CString& name, const Core::CString& value) {
  Core::CArray<CDictionary>& entries = *m_pEntries;
  if (entries.GetSize() + 1 >= entries.GetCapacity() && !Grow()) return false;
  if (!m_pEntries->Add(CDictionary(name, value))) return false;
  const int last = m_pEntries->GetSize() - 1;
  const CDictionary& entry = (*m_pEntries)[last];
  if (entry.m_strName.IsEmpty()) {  // the copy of the name failed
    ++m_nRemoved;
    return false;
  }
  const std::size_t length = Length(entry.m_strName);
  m_index.Insert(entry.m_strName.GetText(), length, last);
  m_bFirstByte[static_cast<unsigned char>(entry.m_strName.GetText()[0])] = true;
  if (length > m_nLongest) m_nLongest = length;
  return true;
}

// Doubles the capacity, moving the entries' blocks into the new array.
bool CMacroTable::Grow() {
  Core::CArray<CDictionary>& entries = *m_pEntries;
  std::unique_ptr<Core::CArray<CDictionary>> bigger(new (std::nothrow) Core::CArray<CDictionary>);
  if (!bigger || !bigger->SetSize(entries.GetCapacity() * 2 + 1)) return false;
  bigger->SetSize(entries.GetSize());
  for (int i = 0; i < entries.GetSize(); ++i) MoveEntry(entries[i], (*bigger)[i]);
  m_pEntries.swap(bigger);
  return true;
}

bool CMacroTable::Undefine(const Core::CString& name) {
  const int slot = m_index.Find(name.GetText(), Length(name));
  if (slot < 0) return false;
  m_index.Erase(name.GetText(), Length(name));
  CDictionary removed;
  MoveEntry((*m_pEntries)[slot], removed);
  ++m_nRemoved;
  if (m_nRemoved >= kCompactAfter && m_nRemoved * 2 >= m_pEntries->GetSize()) Compact();
  return true;
}

Core::CArray<CDictionary> CMacroTable::GetEntries() const {
  Core::CArray<CDictionary> entries;
  for (int i = 0; i < m_pEntries->GetSize(); ++i) {
    const CDictionary& entry = (*m_pEntries)[i];
    if (!entry.m_strName.IsEmpty()) entries.Add(entry);
  }
  return entries;
}

void CMacroTable::Reindex() {
  m_index.Clear();
  for (int i = 0; i < m_pEntries->GetSize(); ++i) {
    const CDictionary& entry = (*m_pEntries)[i];
    if (!entry.m_strName.IsEmpty())
      m_index.Insert(entry.m_strName.GetText(), Length(entry.m_strName), i);
  }
}

void CMacroTable::Compact() {
  Core::CArray<CDictionary>& entries = *m_pEntries;
  int kept = 0;
  for (int i = 0; i < entries.GetSize(); ++i) {
    if (entries[i].m_strName.IsEmpty()) continue;
    if (kept != i) MoveEntry(entries[i], entries[kept]);
    ++kept;
  }
  entries.SetSize(kept);
  m_nRemoved = 0;
  Reindex();
}
