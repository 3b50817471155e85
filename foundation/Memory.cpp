#include "foundation/Memory.h"

#include <cstdlib>
#include <cstring>

namespace Core {

namespace {
int g_allocationsBeforeFailure = -1;
std::size_t g_failures = 0;

bool InjectedFailure() {
  if (g_allocationsBeforeFailure < 0) return false;
  if (g_allocationsBeforeFailure == 0) {
    g_allocationsBeforeFailure = -1;
    return true;
  }
  --g_allocationsBeforeFailure;
  return false;
}
}  // namespace

void* AllocateBlock(std::size_t size) {
  if (size == 0) return nullptr;
  void* block = size > kMaxBlockSize || InjectedFailure() ? nullptr
                : size >= kLargeBlockSize                 ? AllocateLargeBlock(size)
                                                          : std::calloc(1, size);
  if (!block) ++g_failures;
  return block;
}

std::size_t AllocationFailureCount() { return g_failures; }

void NoteAllocationFailure() { ++g_failures; }

void* ResizeBlock(void* block, std::size_t size, std::size_t used, std::size_t newSize) {
  if (!block) return AllocateBlock(newSize);
  if (newSize < size || newSize > kMaxBlockSize || InjectedFailure()) {
    ++g_failures;
    return nullptr;
  }
  if (size >= kLargeBlockSize) {
    if (void* moved = ResizeLargeBlock(block, size, newSize)) return moved;
  }
  void* fresh = newSize >= kLargeBlockSize ? AllocateLargeBlock(newSize) : std::calloc(1, newSize);
  if (!fresh) {
    ++g_failures;
    return nullptr;
  }
  std::memcpy(fresh, block, used < size ? used : size);
  ReleaseBlock(block, size, used);
  return fresh;
}

void ReleaseBlock(void* block, std::size_t size) { ReleaseBlock(block, size, size); }

void ReleaseBlock(void* block, std::size_t size, std::size_t used) {
  if (!block) return;
  if (used > size) used = size;
  if (size >= kLargeBlockSize) {
    ReleaseLargeBlock(block, size, used);
    return;
  }
  // Called through a volatile pointer so the wipe is not optimised away.
  static void* (*volatile const wipe)(void*, int, std::size_t) = std::memset;
  wipe(block, 0, used);
  std::free(block);
}

void WipeBlock(void* block, std::size_t size, std::size_t used) {
  if (!block || used == 0) return;
  if (used > size) used = size;
  if (size >= kLargeBlockSize) {
    WipeLargeBlock(block, size, used);
  } else {
    std::memset(block, 0, used);
  }
}

std::size_t FitBlockSize(std::size_t needed) {
  std::size_t size = 16;
  while (needed >= size) {
    size *= 2;
    if (size > kMaxBlockSize) return 0;
  }
  return size;
}

namespace Testing {
void FailAllocationAfter(int successes) { g_allocationsBeforeFailure = successes; }
bool AllocationFailurePending() { return g_allocationsBeforeFailure >= 0; }
}  // namespace Testing

}  // namespace Core
