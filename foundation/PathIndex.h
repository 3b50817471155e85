// CPathIndex: finds a path in a list in O(log n), for the watch's lists of
// thousands of files, where looking through the list for each path would
// take time in the square of its length. The index keeps positions into
// the list, which must stay as it is while the index is used.
#pragma once

#include <algorithm>
#include <cstring>

#include "foundation/Array.h"
#include "foundation/String.h"

namespace Core {

class CPathIndex {
 public:
  // Indexes the list. False when memory ran out (nothing is found then).
  bool Build(const CArray<CString>& list) {
    m_pList = &list;
    if (!m_aOrder.SetSize(list.GetSize())) return false;
    for (int i = 0; i < list.GetSize(); ++i) m_aOrder[i] = i;
    // Equal paths stay in list order, so Find answers the first of them.
    int* order = m_aOrder.GetSize() > 0 ? &m_aOrder[0] : nullptr;
    std::sort(order, order + m_aOrder.GetSize(), [&list](int a, int b) {
      const int c = std::strcmp(list[a].GetText(), list[b].GetText());
      return c < 0 || (c == 0 && a < b);
    });
    return true;
  }

  // The position of the first entry equal to the path, or -1.
  int Find(const CString& path) const {
    int low = 0;
    int high = m_aOrder.GetSize();
    while (low < high) {
      const int middle = low + (high - low) / 2;
      if (std::strcmp(Text(middle), path.GetText()) < 0) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    if (low == m_aOrder.GetSize() || std::strcmp(Text(low), path.GetText()) != 0) return -1;
    return m_aOrder[low];
  }

 private:
  const char* Text(int rank) const { return (*m_pList)[m_aOrder[rank]].GetText(); }

  const CArray<CString>* m_pList = nullptr;
  CArray<int> m_aOrder;  // positions, in the paths' byte order
};

}  // namespace Core
