#include <cstdlib>
#include <cstring>

#include "foundation/Memory.h"

namespace Core {

// Large pages need a privilege that programs do not hold: the heap serves.
void* AllocateLargeBlock(std::size_t size) { return std::calloc(1, size); }

// The heap may hand the bytes out again as they are: they are wiped first.
void ReleaseLargeBlock(void* block, std::size_t, std::size_t used) {
  static void* (*volatile const wipe)(void*, int, std::size_t) = std::memset;
  wipe(block, 0, used);
  std::free(block);
}

void WipeLargeBlock(void* block, std::size_t, std::size_t used) { std::memset(block, 0, used); }

void* ResizeLargeBlock(void*, std::size_t, std::size_t) { return nullptr; }

}  // namespace Core
