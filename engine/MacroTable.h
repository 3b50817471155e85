// CMacroTable: the definitions of one item, in the order of their first
// #define, with a name index beside them so that a lookup costs one hash
// instead of a scan of every entry.
#pragma once

#include <cstddef>
#include <memory>

#include "Array.h"
#include "Dictionary.h"
#include "NameIndex.h"
#include "String.h"

class CMacroTable {
 public:
  CMacroTable() = default;
  CMacroTable(const CMacroTable&) = delete;
  CMacroTable& operator=(const CMacroTable&) = delete;

  void Clear();
  bool IsEmpty() const { return m_index.GetCount() == 0; }
  int GetCount() const { return static_cast<int>(m_index.GetCount()); }

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
  // Points into the name blocks of the entries; those blocks move with
  // their entries and stay put otherwise.
  CNameIndex m_index;
  int m_nRemoved = 0;
  // A first test that most words of a text fail, cheaper than a hash: the
  // first bytes and the greatest length of every name defined since Clear.
  bool m_bFirstByte[256] = {};
  std::size_t m_nLongest = 0;
};
