// CNameIndex: an open-addressing hash index from names to positions, in
// one flat array of slots, so that a lookup usually touches one slot and
// the name it points to. The names are not copied: each must stay where it
// is while it is indexed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CNameIndex {
 public:
  void Clear();
  std::size_t GetCount() const { return m_nCount; }

  // The position stored for the name, or -1.
  int Find(const char* name, std::size_t length) const;
  // Indexes a name that is not indexed yet.
  void Insert(const char* name, std::size_t length, int position);
  // Removes the name; false when it was not indexed.
  bool Erase(const char* name, std::size_t length);

 private:
  struct Slot {
    const char* name = nullptr;  // null: a free slot
    std::size_t length = 0;
    std::uint32_t hash = 0;
    int position = -1;
  };

  static std::uint32_t Hash(const char* name, std::size_t length);
  // The slot holding the name, or the free slot that ends its probe run.
  std::size_t Probe(const char* name, std::size_t length, std::uint32_t hash) const;
  void Rehash(std::size_t size);

  std::vector<Slot> m_slots;  // a power of two in size, at most half full
  std::size_t m_nCount = 0;
};
