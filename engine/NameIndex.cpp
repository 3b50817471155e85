#include "engine/NameIndex.h"

#include <chrono>
#include <cstring>

#include "foundation/Memory.h"

namespace {

constexpr std::uint64_t kOdd1 = 0xa0761d6478bd642full;
constexpr std::uint64_t kOdd2 = 0xe7037ed1a0b428dbull;
constexpr std::uint64_t kOdd3 = 0x8ebc6af09c88c6e3ull;

// The 128-bit product of a and b, its halves folded together.
std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
#else
  const std::uint64_t aLow = a & 0xffffffffu, aHigh = a >> 32;
  const std::uint64_t bLow = b & 0xffffffffu, bHigh = b >> 32;
  const std::uint64_t low = aLow * bLow, middle1 = aHigh * bLow, middle2 = aLow * bHigh;
  const std::uint64_t high = aHigh * bHigh;
  const std::uint64_t carry =
      ((low >> 32) + (middle1 & 0xffffffffu) + (middle2 & 0xffffffffu)) >> 32;
  const std::uint64_t productLow = low + (middle1 << 32) + (middle2 << 32);
  const std::uint64_t productHigh = high + (middle1 >> 32) + (middle2 >> 32) + carry;
  return productLow ^ productHigh;
#endif
}

std::uint64_t Read64(const char* p) {
  std::uint64_t value;
  std::memcpy(&value, p, 8);
  return value;
}

std::uint64_t Read32(const char* p) {
  std::uint32_t value;
  std::memcpy(&value, p, 4);
  return value;
}

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

CNameIndex::CNameIndex() {
  std::uint64_t state = DrawSeed();
  m_nSeed[0] = SplitMix(state);
  m_nSeed[1] = SplitMix(state) | 1;
}

CNameIndex::~CNameIndex() { Core::ReleaseBlock(m_pSlots, m_nSize * sizeof(Slot)); }

void CNameIndex::Clear() {
  if (m_nCount) std::memset(static_cast<void*>(m_pSlots), 0, m_nSize * sizeof(Slot));
  m_nCount = 0;
}

// Every byte goes through a keyed 64 x 64 -> 128-bit multiplication, whose
// halves are folded, so the result depends on the seed throughout.
std::uint32_t CNameIndex::Hash(const char* name, std::size_t length) const {
  std::uint64_t h = m_nSeed[0] ^ Mix(m_nSeed[0] ^ kOdd1, m_nSeed[1] ^ length);
  std::uint64_t a = 0;
  std::uint64_t b = 0;
  const char* p = name;
  std::size_t left = length;
  if (left <= 16) {
    if (left >= 4) {
      const std::size_t step = (left >> 3) << 2;
      a = (Read32(p) << 32) | Read32(p + step);
      b = (Read32(p + left - 4) << 32) | Read32(p + left - 4 - step);
    } else if (left > 0) {
      const auto byte = [p](std::size_t i) {
        return static_cast<std::uint64_t>(static_cast<unsigned char>(p[i]));
      };
      a = (byte(0) << 16) | (byte(left >> 1) << 8) | byte(left - 1);
    }
  } else {
    while (left > 16) {
      h = Mix(Read64(p) ^ m_nSeed[1], Read64(p + 8) ^ h);
      p += 16;
      left -= 16;
    }
    a = Read64(p + left - 16);
    b = Read64(p + left - 8);
  }
  h = Mix(a ^ m_nSeed[1] ^ kOdd2, b ^ h);
  h = Mix(h ^ kOdd1, m_nSeed[0] ^ length);
  return static_cast<std::uint32_t>(h);
}

bool CNameIndex::Insert(std::uint32_t hash, int position) {
  if ((m_nCount + 1) * 2 > m_nSize && !Rehash(m_nSize ? m_nSize * 2 : 16)) return false;
  std::size_t i = hash & m_nMask;
  while (m_pSlots[i].entry != 0) i = (i + 1) & m_nMask;
  m_pSlots[i].hash = hash;
  m_pSlots[i].entry = position + 1;
  ++m_nCount;
  return true;
}

void CNameIndex::Swap(CNameIndex& other) {
  Slot* const slots = m_pSlots;
  const std::size_t size = m_nSize, mask = m_nMask, count = m_nCount;
  const std::uint64_t seed0 = m_nSeed[0], seed1 = m_nSeed[1];
  m_pSlots = other.m_pSlots;
  m_nSize = other.m_nSize;
  m_nMask = other.m_nMask;
  m_nCount = other.m_nCount;
  m_nSeed[0] = other.m_nSeed[0];
  m_nSeed[1] = other.m_nSeed[1];
  other.m_pSlots = slots;
  other.m_nSize = size;
  other.m_nMask = mask;
  other.m_nCount = count;
  other.m_nSeed[0] = seed0;
  other.m_nSeed[1] = seed1;
}

// Closes the gap: moves up every later slot of the run whose home is not
// between the hole and itself, so no probe run is broken.
void CNameIndex::RemoveSlot(std::size_t hole) {
  for (std::size_t next = (hole + 1) & m_nMask; m_pSlots[next].entry != 0;
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

bool CNameIndex::Rehash(std::size_t size) {
  if (size > Core::kMaxBlockSize / sizeof(Slot)) return false;
  Slot* slots = static_cast<Slot*>(Core::AllocateBlock(size * sizeof(Slot)));
  if (!slots) return false;
  const std::size_t mask = size - 1;
  for (std::size_t j = 0; j < m_nSize; ++j) {
    const Slot& slot = m_pSlots[j];
    if (slot.entry == 0) continue;
    std::size_t i = slot.hash & mask;
    while (slots[i].entry != 0) i = (i + 1) & mask;
    slots[i] = slot;
  }
  Core::ReleaseBlock(m_pSlots, m_nSize * sizeof(Slot));
  m_pSlots = slots;
  m_nSize = size;
  m_nMask = mask;
  return true;
}
