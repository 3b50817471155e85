#include "NameIndex.h"

#include <cstring>

void CNameIndex::Clear() {
  m_slots.clear();
  m_nCount = 0;
}

std::uint32_t CNameIndex::Hash(const char* name, std::size_t length) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (std::size_t i = 0; i < length; ++i) {
    hash ^= static_cast<unsigned char>(name[i]);
    hash *= 16777619u;
  }
  return hash;
}

std::size_t CNameIndex::Probe(const char* name, std::size_t length, std::uint32_t hash) const {
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = m_slots[i];
    if (!slot.name) return i;
    if (slot.hash == hash && slot.length == length && std::memcmp(slot.name, name, length) == 0) {
      return i;
    }
  }
}

int CNameIndex::Find(const char* name, std::size_t length) const {
  if (m_nCount == 0) return -1;
  const Slot& slot = m_slots[Probe(name, length, Hash(name, length))];
  return slot.name ? slot.position : -1;
}

void CNameIndex::Insert(const char* name, std::size_t length, int position) {
  if ((m_nCount + 1) * 2 > m_slots.size()) Rehash(m_slots.empty() ? 16 : m_slots.size() * 2);
  const std::uint32_t hash = Hash(name, length);
  Slot& slot = m_slots[Probe(name, length, hash)];
  slot.name = name;
  slot.length = length;
  slot.hash = hash;
  slot.position = position;
  ++m_nCount;
}

bool CNameIndex::Erase(const char* name, std::size_t length) {
  if (m_nCount == 0) return false;
  const std::size_t mask = m_slots.size() - 1;
  std::size_t hole = Probe(name, length, Hash(name, length));
  if (!m_slots[hole].name) return false;
  // Close the gap: move up every later slot of the run whose home is not
  // between the hole and itself, so no probe run is broken.
  for (std::size_t next = (hole + 1) & mask; m_slots[next].name; next = (next + 1) & mask) {
    const std::size_t home = m_slots[next].hash & mask;
    const bool stays = hole < next ? (home > hole && home <= next) : (home > hole || home <= next);
    if (!stays) {
      m_slots[hole] = m_slots[next];
      hole = next;
    }
  }
  m_slots[hole] = Slot();
  --m_nCount;
  return true;
}

void CNameIndex::Rehash(std::size_t size) {
  std::vector<Slot> old;
  old.swap(m_slots);
  m_slots.resize(size);
  for (const Slot& slot : old) {
    if (slot.name) m_slots[Probe(slot.name, slot.length, slot.hash)] = slot;
  }
}
