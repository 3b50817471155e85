// CNameIndex: an open-addressing hash table of 32-byte slots in one flat
// block. Besides the hash and a tag, each slot has room for its user's
// bytes: an entry small enough lives in its slot whole, so that a lookup
// usually reads one slot and nothing else. The user says what its bytes
// mean: a lookup or removal is given a predicate that says whether a slot
// stored with the hash holds the name sought.
//
// The hash is keyed with a seed drawn for each index, so names chosen to
// collide under one seed do not collide under another, and the probe runs
// stay short whatever names a text defines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/Compiler.h"

class CNameIndex {
 public:
  static constexpr std::size_t kSlotBytes = 24;
  struct Slot {
    std::uint32_t hash;
    std::uint32_t tag;                // the user's, never 0; 0 marks a free slot
    unsigned char bytes[kSlotBytes];  // the user's
  };

  CNameIndex();
  // An index whose hash is keyed by the given seed, the same in every run.
  explicit CNameIndex(std::uint64_t seed);
  CNameIndex(const CNameIndex&) = delete;
  CNameIndex& operator=(const CNameIndex&) = delete;
  ~CNameIndex();

  void Clear();
  std::size_t GetCount() const { return m_nCount; }
  // The bytes the slots take.
  std::size_t GetBytes() const { return m_nSize * sizeof(Slot); }

  // The name's hash under this index's seed. Names of up to 16 bytes, the
  // usual ones, take two keyed multiplications.
  std::uint32_t Hash(const char* name, std::size_t length) const {
    if (length > 16) return HashLong(name, length);
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    if (length >= 8) {
      a = Read64(name);
      b = Read64(name + length - 8);
    } else if (length >= 4) {
      a = Read32(name);
      b = Read32(name + length - 4);
    } else if (length > 0) {
      a = (Byte(name, 0) << 16) | (Byte(name, length >> 1) << 8) | Byte(name, length - 1);
    }
    return Finish(a, b, length);
  }

  // Starts loading the slot a lookup of the hash reads first, so that
  // lookups made a little later do not wait for memory.
  void Prefetch(std::uint32_t hash) const {
    if (m_pSlots) Core::Prefetch(&m_pSlots[hash & m_nMask]);
  }
  // The slot stored with the hash for which `holds(slot)` is true, or
  // null. A slot stays where it is until the next Insert or Erase.
  template <class Holds>
  Slot* Find(std::uint32_t hash, Holds holds) const {
    if (m_nCount == 0) return nullptr;
    for (std::size_t i = hash & m_nMask;; i = (i + 1) & m_nMask) {
      Slot& slot = m_pSlots[i];
      if (slot.tag == 0) return nullptr;
      if (slot.hash == hash && holds(static_cast<const Slot&>(slot))) return &slot;
    }
  }

  // A new slot for a name not stored yet, with the hash and tag set and
  // its bytes zero, for the caller to fill. Null when memory ran out (the
  // index is then unchanged).
  Slot* Insert(std::uint32_t hash, std::uint32_t tag);

  // Removes the slot for which `holds` is true; false when there is none.
  template <class Holds>
  bool Erase(std::uint32_t hash, Holds holds) {
    Slot* slot = Find(hash, holds);
    if (!slot) return false;
    RemoveSlot(static_cast<std::size_t>(slot - m_pSlots));
    return true;
  }

  // Calls visit(slot) for every stored slot, in no particular order.
  template <class Visit>
  void ForEach(Visit visit) const {
    if (m_nCount == 0) return;
    for (std::size_t i = 0; i < m_nSize; ++i) {
      if (m_pSlots[i].tag != 0) visit(static_cast<const Slot&>(m_pSlots[i]));
    }
  }
  template <class Visit>
  void ForEachSlot(Visit visit) {
    if (m_nCount == 0) return;
    for (std::size_t i = 0; i < m_nSize; ++i) {
      if (m_pSlots[i].tag != 0) visit(m_pSlots[i]);
    }
  }

 private:
  static std::uint64_t Read64(const char* p) {
    std::uint64_t value;
    std::memcpy(&value, p, 8);
    return value;
  }
  static std::uint64_t Read32(const char* p) {
    std::uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
  }
  static std::uint64_t Byte(const char* p, std::size_t i) {
    return static_cast<unsigned char>(p[i]);
  }
  // The 128-bit product of a and b, its halves folded together.
  static std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
    const Core::Product128 product = Core::Multiply128(a, b);
    return product.low ^ product.high;
  }
  // The last two words of a name, keyed: each goes through a keyed
  // multiplication whose halves are folded, so the result depends on the
  // seed throughout.
  std::uint32_t Finish(std::uint64_t a, std::uint64_t b, std::size_t length) const {
    const std::uint64_t h = Mix(a ^ m_nSeed[1], b ^ m_nKey);
    return static_cast<std::uint32_t>(Mix(h ^ m_nSeed[0] ^ length, m_nSeed[1] ^ length));
  }
  std::uint32_t HashLong(const char* name, std::size_t length) const;
  void RemoveSlot(std::size_t hole);
  bool Grow();
  void Place(const Slot& slot);

  // A run at the start of the table up to this long is set aside on the
  // stack while the table grows; a longer one in a block of its own.
  static constexpr std::size_t kLocalRun = 64;

  void* m_pBlock = nullptr;  // the slots' block, with room to align them
  Slot* m_pSlots = nullptr;  // a power of two in number, on 32-byte bounds
  std::size_t m_nSize = 0;
  std::size_t m_nMask = 0;
  std::size_t m_nCount = 0;
  std::uint64_t m_nSeed[2];
  std::uint64_t m_nKey;  // worked out from the seed once
};

static_assert(sizeof(CNameIndex::Slot) == 32, "two slots to a cache line");
