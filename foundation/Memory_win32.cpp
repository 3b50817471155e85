#include <cstdlib>

#include "foundation/Memory.h"

namespace Core {

// Large pages need a privilege that programs do not hold: the heap serves.
void* AllocateLargeBlock(std::size_t size) { return std::calloc(1, size); }

void ReleaseLargeBlock(void* block, std::size_t) { std::free(block); }

void* ResizeLargeBlock(void*, std::size_t, std::size_t) { return nullptr; }

}  // namespace Core
