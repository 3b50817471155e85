#include "MacroTable.h"

#include <cstring>
#include <new>

namespace {

std::string_view View(const Core::CString& text) {
  return std::string_view(text.GetText(), std::strlen(text.GetText()));
}

void MoveEntry(CDictionary& from, CDictionary& to) {
  to.m_strName.Swap(from.m_strName);
  to.m_strValue.Swap(from.m_strValue);
}

// Compaction waits until removed slots are at least half of all, so its
// cost is paid for by the removals before it.
constexpr int kCompactAfter = 32;

}  // namespace

void CMacroTable::Clear() {
  m_index.clear();
  m_pEntries->SetSize(0);
  m_nRemoved = 0;
}

const CDictionary* CMacroTable::Find(const char* name, std::size_t length) const {
  if (m_index.empty()) return nullptr;
  const auto found = m_index.find(std::string_view(name, length));
  return found == m_index.end() ? nullptr : &(*m_pEntries)[found->second];
}

const CDictionary* CMacroTable::Find(const Core::CString& name) const {
  const std::string_view key = View(name);
  return Find(key.data(), key.size());
}

bool CMacroTable::Define(const Core::CString& name, const Core::CString& value) {
  const auto found = m_index.find(View(name));
  if (found == m_index.end()) return Append(name, value);
  const bool stored = ((*m_pEntries)[found->second].m_strValue = value);
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
  m_index.emplace(View(entry.m_strName), last);
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
  const auto found = m_index.find(View(name));
  if (found == m_index.end()) return false;
  const int slot = found->second;
  m_index.erase(found);
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
  m_index.clear();
  for (int i = 0; i < m_pEntries->GetSize(); ++i) {
    const CDictionary& entry = (*m_pEntries)[i];
    if (!entry.m_strName.IsEmpty()) m_index.emplace(View(entry.m_strName), i);
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
