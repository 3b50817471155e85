#include "MacroTable.h"

#include <cstring>

namespace {

std::string_view View(const Core::CString& text) {
  return std::string_view(text.GetText(), std::strlen(text.GetText()));
}

// Compaction waits until removed slots are at least half of all, so its
// cost is paid for by the removals before it.
constexpr int kCompactAfter = 32;

}  // namespace

void CMacroTable::Clear() {
  m_index.clear();
  m_aEntries.SetSize(0);
  m_nRemoved = 0;
}

const CDictionary* CMacroTable::Find(const char* name, std::size_t length) const {
  if (m_index.empty()) return nullptr;
  const auto found = m_index.find(std::string_view(name, length));
  return found == m_index.end() ? nullptr : &m_aEntries[found->second];
}

const CDictionary* CMacroTable::Find(const Core::CString& name) const {
  const std::string_view key = View(name);
  return Find(key.data(), key.size());
}

bool CMacroTable::Define(const Core::CString& name, const Core::CString& value) {
  const auto found = m_index.find(View(name));
  if (found != m_index.end()) {
    const bool stored = (m_aEntries[found->second].m_strValue = value);
    return stored;
  }
  const CDictionary* block = m_aEntries.GetData();
  if (!m_aEntries.Add(CDictionary(name, value))) {
    // The array is empty after a failed growth; the index must follow it.
    Clear();
    return false;
  }
  const int last = m_aEntries.GetSize() - 1;
  if (m_aEntries[last].m_strName.IsEmpty()) {  // the copy of the name failed
    ++m_nRemoved;
    return false;
  }
  if (m_aEntries.GetData() != block) {
    Reindex();
  } else {
    m_index.emplace(View(m_aEntries[last].m_strName), last);
  }
  return true;
}

bool CMacroTable::Undefine(const Core::CString& name) {
  const auto found = m_index.find(View(name));
  if (found == m_index.end()) return false;
  const int slot = found->second;
  m_index.erase(found);
  m_aEntries[slot] = CDictionary();
  ++m_nRemoved;
  if (m_nRemoved >= kCompactAfter && m_nRemoved * 2 >= m_aEntries.GetSize()) Compact();
  return true;
}

Core::CArray<CDictionary> CMacroTable::GetEntries() const {
  Core::CArray<CDictionary> entries;
  for (int i = 0; i < m_aEntries.GetSize(); ++i) {
    if (!m_aEntries[i].m_strName.IsEmpty()) entries.Add(m_aEntries[i]);
  }
  return entries;
}

void CMacroTable::Reindex() {
  m_index.clear();
  for (int i = 0; i < m_aEntries.GetSize(); ++i) {
    if (!m_aEntries[i].m_strName.IsEmpty()) m_index.emplace(View(m_aEntries[i].m_strName), i);
  }
}

void CMacroTable::Compact() {
  int kept = 0;
  for (int i = 0; i < m_aEntries.GetSize(); ++i) {
    if (m_aEntries[i].m_strName.IsEmpty()) continue;
    if (kept != i) {
      m_aEntries[kept].m_strName.Swap(m_aEntries[i].m_strName);
      m_aEntries[kept].m_strValue.Swap(m_aEntries[i].m_strValue);
    }
    ++kept;
  }
  m_aEntries.SetSize(kept);
  m_nRemoved = 0;
  Reindex();
}
