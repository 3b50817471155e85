#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "foundation/Compiler.h"
#include "foundation/Memory.h"

namespace Core {

namespace {

constexpr std::size_t kLargePage = kLargeBlockUnit;

std::size_t PageMultiple(std::size_t size) { return (size + kLargePage - 1) & ~(kLargePage - 1); }

// Under AddressSanitizer the heap keeps its checks (overflows, leaks).
#ifdef TOVI_ADDRESS_SANITIZER
constexpr bool kUseHeap = true;
#else
constexpr bool kUseHeap = false;
#endif

}  // namespace

// A fresh mapping aligned to the large page, which the kernel may then
// back with large pages: one fault per 2 MiB instead of one per 4 KiB.
void* AllocateLargeBlock(std::size_t size) {
  if (kUseHeap) return std::calloc(1, size);
  const std::size_t length = PageMultiple(size);
  void* mapping = ::mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED) return nullptr;
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(mapping);
  const std::uintptr_t aligned = (start + kLargePage - 1) & ~std::uintptr_t(kLargePage - 1);
  if (aligned > start) ::munmap(mapping, aligned - start);
  const std::uintptr_t end = start + length + kLargePage;
  if (end > aligned + length)
    ::munmap(reinterpret_cast<void*>(aligned + length), end - aligned - length);
  void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  ::madvise(block, length, MADV_HUGEPAGE);  // a hint: without it the block works as well
#endif
  return block;
}

void* ResizeLargeBlock(void* block, std::size_t size, std::size_t newSize) {
#if defined(__linux__) && defined(MREMAP_MAYMOVE)
  if (kUseHeap) return nullptr;
  // Only the growth counts against an address-space limit; the pages move.
  void* moved = ::mremap(block, PageMultiple(size), PageMultiple(newSize), MREMAP_MAYMOVE);
  return moved == MAP_FAILED ? nullptr : moved;
#else
  (void)block;
  (void)size;
  (void)newSize;
  return nullptr;
#endif
}

// An unmapped page goes back to the system, which zero-fills it before it
// maps it anywhere again: the block needs no wipe of its own.
void ReleaseLargeBlock(void* block, std::size_t size, std::size_t used) {
  if (kUseHeap) {
    static void* (*volatile const wipe)(void*, int, std::size_t) = std::memset;
    wipe(block, 0, used);
    std::free(block);
  } else {
    ::munmap(block, PageMultiple(size));
  }
}

// Whole pages are handed back to the system, and read as zero afterwards,
// when there are enough of them to be worth a fresh page's fault later;
// the bytes after them are written over.
void WipeLargeBlock(void* block, std::size_t, std::size_t used) {
  std::size_t dropped = 0;
  if (!kUseHeap && used >= kLargePage) {
    const std::size_t whole = used & ~(kLargePage - 1);
    if (::madvise(block, whole, MADV_DONTNEED) == 0) dropped = whole;
  }
  std::memset(static_cast<char*>(block) + dropped, 0, used - dropped);
}

}  // namespace Core
