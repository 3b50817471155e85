// CMacroTable: the definitions of one item, in the order of their first
// #define, with a name index beside them so that a lookup costs one hash
// instead of a scan of every entry.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "Array.h"
#include "Dictionary.h"
#include "String.h"

class CMacroTable {
 public:
  CMacroTable() = default;
  CMacroTable(const CMacroTable&) = delete;
  CMacroTable& operator=(const CMacroTable&) = delete;

  void Clear();
  bool IsEmpty() const { return m_index.empty(); }
  int GetCount() const { return static_cast<int>(m_index.size()); }

  // The entry whose name equals the bytes exactly, or null.
  const CDictionary* Find(const char* name, std::size_t length) const;
  const CDictionary* Find(const Core::CString& name) const;

  // Adds the name, or replaces the value of an existing entry in place.
  // False when memory ran out.
  bool Define(const Core::CString& name, const Core::CString& value);
  // Removes the name; false when it was not defined.
  bool Undefine(const Core::CString& name);

  // The live entries in definition order (for inspection).
  Core::CArray<CDictionary> GetEntries() const;

 private:
  bool Append(const Core::CString& name, const Core::CString& value);
  bool Grow();
  void Reindex();
  void Compact();

  // Removed entries keep their slot with an empty name until the next
  // compaction, so a removal does not shift the entries after it. Held by
  // pointer so that growth can move the names and values into a bigger
  // array instead of copying them (CArray copies every string as it grows).
  std::unique_ptr<Core::CArray<CDictionary>> m_pEntries{new Core::CArray<CDictionary>};
  // Keys view the name blocks of the entries; those blocks move with their
  // entries and stay put otherwise.
  std::unordered_map<std::string_view, int> m_index;
  int m_nRemoved = 0;
};
