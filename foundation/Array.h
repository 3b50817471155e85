// Core::CArray<T>: the growable array of values, and Core::CAutoPtrArray<T>:
// the owner of one heap array. The array's block is 16, 32, 64 ... bytes and
// strictly larger than count × sizeof(T), so there is always a free slot;
// every slot holds a constructed element (free slots hold empty ones) and
// the block is wiped before release. An allocation failure (or a block over
// 1 GiB) leaves the array empty and makes the operation return false.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>

#include "foundation/Memory.h"

namespace Core {

template <class T>
class CArray {
 public:
  CArray() = default;
  CArray(const CArray& other) { *this = other; }
  virtual ~CArray() { RemoveAll(); }

  // Copies every slot of the source into a block of the same size.
  CArray& operator=(const CArray& other);

  int GetSize() const { return m_nCount; }
  int GetCapacity() const { return m_nCapacity; }
  std::size_t GetByteSize() const { return m_nByteSize; }

  // No bounds check: callers keep 0 <= i < GetSize().
  T& ElementAt(int i) { return m_pItems[i]; }
  const T& ElementAt(int i) const { return m_pItems[i]; }
  T& operator[](int i) { return m_pItems[i]; }
  const T& operator[](int i) const { return m_pItems[i]; }
  T* GetData() { return m_pItems; }
  const T* GetData() const { return m_pItems; }

  // Destroys every element and releases the block; all fields zero.
  void RemoveAll();
  // Exchanges the contents without copying or allocating.
  void Swap(CArray& other) {
    Exchange(m_nCount, other.m_nCount);
    Exchange(m_nCapacity, other.m_nCapacity);
    Exchange(m_nByteSize, other.m_nByteSize);
    Exchange(m_pItems, other.m_pItems);
  }
  // Resets every slot to the empty element; count and block stay.
  void ClearElements();
  // Changes the count, keeping elements 0 .. min(n, count) - 1.
  bool SetSize(int n);
  // Changes the count, discarding every element.
  bool ResetSize(int n);
  bool Add(const T& x);
  bool InsertAt(int index, const T& x);
  // Removes n elements at index; out-of-range requests are clamped.
  void RemoveAt(int index, int n = 1);
  // Removes and returns the last element (an empty element when none).
  T RemoveLast();

 private:
  template <class V>
  static void Exchange(V& a, V& b) {
    V t = a;
    a = b;
    b = t;
  }
  bool Allocate(int n);
  void ResetSlot(int i) {
    m_pItems[i].~T();
    new (&m_pItems[i]) T();
  }
  void DestroyBlock();
  bool InBlock(const T& x) const {
    return m_pItems && &x >= m_pItems && &x < m_pItems + m_nCapacity;
  }

  int m_nCount = 0;
  int m_nCapacity = 0;
  std::size_t m_nByteSize = 0;
  T* m_pItems = nullptr;
};

template <class T>
void CArray<T>::DestroyBlock() {
  for (int i = 0; i < m_nCapacity; ++i) m_pItems[i].~T();
  ReleaseBlock(m_pItems, m_nByteSize);
  m_pItems = nullptr;
  m_nCount = m_nCapacity = 0;
  m_nByteSize = 0;
}

template <class T>
void CArray<T>::RemoveAll() {
  if (m_pItems) DestroyBlock();
}

// Allocates a fresh zero-filled block for n elements with every slot empty.
// The old block must already be gone. False (array empty) on failure.
template <class T>
bool CArray<T>::Allocate(int n) {
  std::size_t size = n >= 0 ? FitBlockSize(static_cast<std::size_t>(n) * sizeof(T)) : 0;
  void* block = size ? AllocateBlock(size) : nullptr;
  if (!block) return false;
  m_pItems = static_cast<T*>(block);
  m_nByteSize = size;
  m_nCapacity = static_cast<int>(size / sizeof(T));
  for (int i = 0; i < m_nCapacity; ++i) new (&m_pItems[i]) T();
  m_nCount = n;
  return true;
}

template <class T>
void CArray<T>::ClearElements() {
  for (int i = 0; i < m_nCapacity; ++i) m_pItems[i].~T();
  if (m_pItems) std::memset(static_cast<void*>(m_pItems), 0, m_nByteSize);
  for (int i = 0; i < m_nCapacity; ++i) new (&m_pItems[i]) T();
}

template <class T>
bool CArray<T>::SetSize(int n) {
  if (n < 0) return false;
  if (n < m_nCapacity) {
    const int low = n < m_nCount ? n : m_nCount;
    const int high = n < m_nCount ? m_nCount : n;
    for (int i = low; i < high; ++i) ResetSlot(i);
    m_nCount = n;
    return true;
  }
  T* oldItems = m_pItems;
  const int oldCount = m_nCount;
  const int oldCapacity = m_nCapacity;
  const std::size_t oldByteSize = m_nByteSize;
  m_pItems = nullptr;
  const bool allocated = Allocate(n);
  if (allocated) {
    for (int i = 0; i < oldCount; ++i) m_pItems[i] = oldItems[i];
  } else {
    m_nCount = m_nCapacity = 0;
    m_nByteSize = 0;
  }
  for (int i = 0; i < oldCapacity; ++i) oldItems[i].~T();
  ReleaseBlock(oldItems, oldByteSize);
  return allocated;
}

template <class T>
bool CArray<T>::ResetSize(int n) {
  if (n < 0) return false;
  if (n < m_nCapacity) {
    ClearElements();
    m_nCount = n;
    return true;
  }
  RemoveAll();
  return Allocate(n);
}

template <class T>
bool CArray<T>::Add(const T& x) {
  if (m_nCount + 1 < m_nCapacity) {
    m_pItems[m_nCount++] = x;
    return true;
  }
  if (InBlock(x)) {  // x would be destroyed by the reallocation
    const T copy(x);
    return Add(copy);
  }
  if (!SetSize(m_nCount + 1)) return false;
  m_pItems[m_nCount - 1] = x;
  return true;
}

template <class T>
bool CArray<T>::InsertAt(int index, const T& x) {
  if (index < 0 || index > m_nCount) return false;
  if (InBlock(x)) {  // x moves while the slots shift
    const T copy(x);
    return InsertAt(index, copy);
  }
  if (!SetSize(m_nCount + 1)) return false;
  for (int i = m_nCount - 2; i >= index; --i) m_pItems[i + 1] = m_pItems[i];
  m_pItems[index] = x;
  return true;
}

template <class T>
void CArray<T>::RemoveAt(int index, int n) {
  if (index < 0 || index >= m_nCount || n <= 0) return;
  if (n > m_nCount - index) n = m_nCount - index;
  int i = index;
  for (; i < m_nCount - n; ++i) m_pItems[i] = m_pItems[i + n];
  for (; i < m_nCount; ++i) ResetSlot(i);
  m_nCount -= n;
}

template <class T>
T CArray<T>::RemoveLast() {
  if (m_nCount == 0) return T();
  T last(m_pItems[m_nCount - 1]);
  ResetSlot(--m_nCount);
  return last;
}

template <class T>
CArray<T>& CArray<T>::operator=(const CArray& other) {
  if (&other == this) return *this;
  RemoveAll();
  if (!other.m_pItems) return *this;
  void* block = AllocateBlock(other.m_nByteSize);
  if (!block) return *this;
  m_pItems = static_cast<T*>(block);
  m_nByteSize = other.m_nByteSize;
  m_nCapacity = other.m_nCapacity;
  m_nCount = other.m_nCount;
  for (int i = 0; i < m_nCapacity; ++i) new (&m_pItems[i]) T();
  for (int i = 0; i < m_nCapacity; ++i) m_pItems[i] = other.m_pItems[i];
  return *this;
}

// Owner of one heap array allocated with new[]. Copies share the block in
// a chain of owners; the last owner to go releases it.
template <class T>
class CAutoPtrArray {
 public:
  explicit CAutoPtrArray(T* data = nullptr) : m_pData(data) {}
  CAutoPtrArray(const CAutoPtrArray& other) : m_pData(other.m_pData) { Join(other); }
  CAutoPtrArray& operator=(const CAutoPtrArray&) = delete;
  virtual ~CAutoPtrArray() { Release(); }

  T* GetData() const { return m_pData; }
  bool IsShared() const { return m_pPrev || m_pNext; }

  void Release() {
    if (IsShared()) {
      if (m_pPrev) m_pPrev->m_pNext = m_pNext;
      if (m_pNext) m_pNext->m_pPrev = m_pPrev;
    } else {
      delete[] m_pData;
    }
    m_pData = nullptr;
    m_pPrev = m_pNext = nullptr;
  }

 private:
  void Join(const CAutoPtrArray& other) {
    CAutoPtrArray& owner = const_cast<CAutoPtrArray&>(other);
    m_pPrev = &owner;
    m_pNext = owner.m_pNext;
    if (m_pNext) m_pNext->m_pPrev = this;
    owner.m_pNext = this;
  }

  T* m_pData;
  CAutoPtrArray* m_pPrev = nullptr;
  CAutoPtrArray* m_pNext = nullptr;
};

}  // namespace Core
