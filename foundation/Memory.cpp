#include "Memory.h"

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
  void* block = size > kMaxBlockSize || InjectedFailure() ? nullptr : std::calloc(1, size);
  if (!block) ++g_failures;
  return block;
}

std::size_t AllocationFailureCount() { return g_failures; }

void ReleaseBlock(void* block, std::size_t size) {
  if (!block) return;
  // Called through a volatile pointer so the wipe is not optimised away.
  static void* (*volatile const wipe)(void*, int, std::size_t) = std::memset;
  wipe(block, 0, size);
  std::free(block);
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
