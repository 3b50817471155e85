#include "engine/NameIndex.h"

#include <chrono>
#include <cstring>

#include "foundation/Memory.h"

namespace {

constexpr std::uint64_t kOdd1 = 0xa0761d6478bd642full;
constexpr std::uint64_t kOdd2 = 0xe7037ed1a0b428dbull;
constexpr std::uint64_t kOdd3 = 0x8ebc6af09c88c6e3ull;
constexpr std::size_t kAlign = sizeof(CNameIndex::Slot);
constexpr std::size_t kSparseBytes = 256 * 1024;

std::uint64_t SplitMix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

// Differs between processes (the clock, and addresses where they are
// randomised) and between the indexes of one process (the counter).
std::uint64_t DrawSeed() {
  static std::uint64_t s_counter = 0;
  int local = 0;
  std::uint64_t state =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  state ^= static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&local)) << 7;
  state ^= static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&s_counter)) << 23;
  state += ++s_counter * kOdd3;
  return SplitMix(state);
}

}  // namespace

CNameIndex::CNameIndex() : CNameIndex(DrawSeed()) {}

CNameIndex::CNameIndex(std::uint64_t seed) {
  std::uint64_t state = seed;
  m_nSeed[0] = SplitMix(state);
  m_nSeed[1] = SplitMix(state) | 1;
  m_nKey = m_nSeed[0] ^ Mix(m_nSeed[0] ^ kOdd1, m_nSeed[1] ^ kOdd2);
}

CNameIndex::~CNameIndex() {
  if (m_pBlock) Core::ReleaseBlock(m_pBlock, m_nSize * sizeof(Slot) + kAlign);
}

void CNameIndex::Clear() {
  if (m_nCount)
    Core::WipeBlock(m_pBlock, m_nSize * sizeof(Slot) + kAlign, m_nSize * sizeof(Slot) + kAlign);
  m_nCount = 0;
}

// Sixteen bytes at a time through the keyed multiplication, then the last
// sixteen as for a short name.
std::uint32_t CNameIndex::HashLong(const char* name, std::size_t length) const {
  std::uint64_t h = m_nKey;
  const char* p = name;
  std::size_t left = length;
  while (left > 16) {
    h = Mix(Read64(p) ^ m_nSeed[1], Read64(p + 8) ^ h);
    p += 16;
    left -= 16;
  }
  const std::uint64_t a = Read64(p + left - 16);
  const std::uint64_t b = Read64(p + left - 8) ^ h ^ m_nKey;
  return Finish(a, b, length);
}

CNameIndex::Slot* CNameIndex::Insert(std::uint32_t hash, std::uint32_t tag) {
  // At most a quarter full while the slots fit in the inner caches, so most
  // lookups end at their first slot. Beyond, lookups wait on memory rather
  // than on probing: four fifths full, the slots they read are half as
  // many lines as at half full, and a probe run of 32-byte slots stays
  // within few of them.
  const bool sparse = m_nSize * sizeof(Slot) <= kSparseBytes;
  const bool full = sparse ? (m_nCount + 1) * 4 > m_nSize : (m_nCount + 1) * 5 > m_nSize * 4;
  if (full && !Grow()) return nullptr;
  std::size_t i = hash & m_nMask;
  while (m_pSlots[i].tag != 0) i = (i + 1) & m_nMask;
  Slot& slot = m_pSlots[i];
  slot.hash = hash;
  slot.tag = tag;
  ++m_nCount;
  return &slot;
}

// Closes the gap: moves up every later slot of the run whose home is not
// between the hole and itself, so no probe run is broken.
void CNameIndex::RemoveSlot(std::size_t hole) {
  for (std::size_t next = (hole + 1) & m_nMask; m_pSlots[next].tag != 0;
       next = (next + 1) & m_nMask) {
    const std::size_t home = m_pSlots[next].hash & m_nMask;
    const bool stays = hole < next ? (home > hole && home <= next) : (home > hole || home <= next);
    if (!stays) {
      m_pSlots[hole] = m_pSlots[next];
      hole = next;
    }
  }
  m_pSlots[hole] = Slot();
  --m_nCount;
}

// Puts a slot taken out of the table back, at the first free place of its
// probe run.
void CNameIndex::Place(const Slot& slot) {
  std::size_t i = slot.hash & m_nMask;
  while (m_pSlots[i].tag != 0) i = (i + 1) & m_nMask;
  m_pSlots[i] = slot;
}

// Doubles the table in place: the block grows where it lies when the system
// can move its pages, and the slots move within it, so that a table never
// stands next to a copy of itself (with a million names that would be 25 MB
// more at the peak, and as much fresh memory to fault in).
//
// With twice the slots a slot's home is its old home or that plus the old
// size. The slots are taken out and placed again in order from the first
// free slot on: a run then never reaches back to a slot not yet placed, so
// no slot is placed past one that will move and leave a gap. Only the run
// at the very start may hold slots whose probe wrapped around the end; it
// is set aside first and placed last, when every other slot is in place.
bool CNameIndex::Grow() {
  const std::size_t size = m_nSize ? m_nSize * 2 : 16;
  if (size > (Core::kMaxBlockSize - kAlign) / sizeof(Slot)) {
    Core::NoteAllocationFailure();
    return false;
  }
  std::size_t run = 0;  // the slots before the first free one
  while (run < m_nCount && m_pSlots[run].tag != 0) ++run;
  Slot local[kLocalRun];
  Slot* aside = local;
  if (run > kLocalRun) {
    aside = static_cast<Slot*>(Core::AllocateBlock(run * sizeof(Slot)));
    if (!aside) return false;
  }
  const std::size_t oldSize = m_nSize;
  const std::size_t oldBytes = m_pBlock ? oldSize * sizeof(Slot) + kAlign : 0;
  const std::size_t offset = m_pBlock ? static_cast<std::size_t>(reinterpret_cast<char*>(m_pSlots) -
                                                                 static_cast<char*>(m_pBlock))
                                      : 0;
  void* block = Core::ResizeBlock(m_pBlock, oldBytes, oldBytes, size * sizeof(Slot) + kAlign);
  if (!block) {
    if (aside != local) Core::ReleaseBlock(aside, run * sizeof(Slot));
    return false;
  }
  // Slots on 32-byte bounds never straddle a cache line. A block copied to
  // another address may have its bound elsewhere: the slots move to it.
  const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(block);
  m_pSlots = reinterpret_cast<Slot*>((address + kAlign - 1) & ~std::uintptr_t(kAlign - 1));
  char* const slots = reinterpret_cast<char*>(m_pSlots);
  char* const was = static_cast<char*>(block) + offset;
  if (m_pBlock && was != slots) {
    std::memmove(slots, was, oldSize * sizeof(Slot));
    if (was > slots) {
      std::memset(slots + oldSize * sizeof(Slot), 0, static_cast<std::size_t>(was - slots));
    } else {
      std::memset(was, 0, static_cast<std::size_t>(slots - was));
    }
  }
  m_pBlock = block;
  m_nSize = size;
  m_nMask = size - 1;
  for (std::size_t i = 0; i < run; ++i) {
    aside[i] = m_pSlots[i];
    m_pSlots[i] = Slot();
  }
  for (std::size_t i = run + 1; i < oldSize; ++i) {
    if (m_pSlots[i].tag == 0) continue;
    const Slot slot = m_pSlots[i];
    m_pSlots[i] = Slot();
    Place(slot);
  }
  for (std::size_t i = 0; i < run; ++i) Place(aside[i]);
  if (aside != local) {
    Core::ReleaseBlock(aside, run * sizeof(Slot));
  } else {
    // Called through a volatile pointer so the wipe is not optimised away.
    static void* (*volatile const wipe)(void*, int, std::size_t) = std::memset;
    wipe(local, 0, run * sizeof(Slot));
  }
  return true;
}
