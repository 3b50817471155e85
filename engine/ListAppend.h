// Appending to a list that must keep what it holds: CArray::Add empties
// the array when its allocation fails, so a list that grows is grown in a
// new array, swapped in only once it holds everything.
#pragma once

#include "foundation/Array.h"
#include "foundation/String.h"

namespace ListAppend {

inline void MoveInto(Core::CString& to, Core::CString& from) { to.Swap(from); }
template <class T>
void MoveInto(T& to, T& from) {
  to = from;
}

// Appends by moving `item` in; false, with the list as it was, when
// memory ran out.
template <class T>
bool Append(Core::CArray<T>& list, T& item) {
  const int count = list.GetSize();
  if (count + 1 < list.GetCapacity()) {
    if (!list.SetSize(count + 1)) return false;
  } else {
    Core::CArray<T> grown;
    if (!grown.SetSize(count + 1)) return false;
    for (int i = 0; i < count; ++i) MoveInto(grown[i], list[i]);
    list.Swap(grown);
  }
  MoveInto(list[count], item);
  return true;
}

}  // namespace ListAppend
