// CLineVector: a list of lines under construction. A CArray<CString> grows
// by copying every string into the new block, one allocation each; this
// list moves them instead, and hands them over to a CArray in one step.
#pragma once

#include <vector>

#include "Array.h"
#include "String.h"

class CLineVector {
 public:
  CLineVector() = default;
  CLineVector(const CLineVector&) = delete;
  CLineVector& operator=(const CLineVector&) = delete;

  // Takes the text of `line`, which is left empty.
  void Add(Core::CString& line);
  int GetSize() const { return static_cast<int>(m_entries.size()); }
  Core::CString& operator[](int i) { return m_entries[static_cast<std::size_t>(i)].text; }
  void Clear() { m_entries.clear(); }
  void Reserve(int count) { m_entries.reserve(static_cast<std::size_t>(count)); }

  // Appends every line to `lines` and empties this list. False when the
  // array could not grow (it is then empty, as CArray leaves it).
  bool MoveTo(Core::CArray<Core::CString>& lines);

 private:
  struct Entry {
    Entry() = default;
    Entry(Entry&& other) noexcept { text.Swap(other.text); }
    Entry& operator=(Entry&& other) noexcept {
      text.Swap(other.text);
      return *this;
    }
    Core::CString text;
  };

  std::vector<Entry> m_entries;
};
