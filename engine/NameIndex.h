// CNameIndex: an open-addressing hash index from names to positions, in
// one flat block of slots, so that a lookup usually touches one slot. The
// names live with the caller: a lookup or removal is given a predicate
// that says whether a stored position holds the name sought.
//
// The hash is keyed with a seed drawn for each index, so names chosen to
// collide under one seed do not collide under another, and the probe runs
// stay short whatever names a text defines.
#pragma once

#include <cstddef>
#include <cstdint>

class CNameIndex {
 public:
  CNameIndex();
  CNameIndex(const CNameIndex&) = delete;
  CNameIndex& operator=(const CNameIndex&) = delete;
  ~CNameIndex();

  void Clear();
  std::size_t GetCount() const { return m_nCount; }

  // The name's hash under this index's seed.
  std::uint32_t Hash(const char* name, std::size_t length) const;

  // The stored position for which `holds(position)` is true among those
  // stored with the hash, or -1.
  template <class Holds>
  int Find(std::uint32_t hash, Holds holds) const {
    if (m_nCount == 0) return -1;
    for (std::size_t i = hash & m_nMask;; i = (i + 1) & m_nMask) {
      const Slot& slot = m_pSlots[i];
      if (slot.entry == 0) return -1;
      if (slot.hash == hash && holds(slot.entry - 1)) return slot.entry - 1;
    }
  }

  // Stores a position under the hash of a name not stored yet. False when
  // memory ran out (the index is then unchanged).
  bool Insert(std::uint32_t hash, int position);

  // Removes the stored position for which `holds` is true; false when
  // there is none.
  template <class Holds>
  bool Erase(std::uint32_t hash, Holds holds) {
    if (m_nCount == 0) return false;
    for (std::size_t i = hash & m_nMask;; i = (i + 1) & m_nMask) {
      const Slot& slot = m_pSlots[i];
      if (slot.entry == 0) return false;
      if (slot.hash == hash && holds(slot.entry - 1)) {
        RemoveSlot(i);
        return true;
      }
    }
  }

  // Exchanges contents and seeds with another index.
  void Swap(CNameIndex& other);

 private:
  struct Slot {
    std::uint32_t hash;
    std::int32_t entry;  // position + 1; 0 marks a free slot
  };

  void RemoveSlot(std::size_t hole);
  bool Rehash(std::size_t size);

  Slot* m_pSlots = nullptr;  // a power of two in number, at most half full
  std::size_t m_nSize = 0;
  std::size_t m_nMask = 0;
  std::size_t m_nCount = 0;
  std::uint64_t m_nSeed[2];
};
