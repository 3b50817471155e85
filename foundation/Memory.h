// Heap blocks for the foundation containers: zero-filled on allocation,
// wiped before release, capped at 1 GiB.
#pragma once

#include <cstddef>

namespace Core {

// A block larger than this counts as a failed allocation.
constexpr std::size_t kMaxBlockSize = std::size_t(1) << 30;

// Returns a zero-filled block, or nullptr when the size exceeds
// kMaxBlockSize or the allocation fails.
void* AllocateBlock(std::size_t size);

// How many allocations have failed so far in this process. An operation
// that builds many strings compares it before and after to learn, in one
// place, whether any of them came out empty for lack of memory.
std::size_t AllocationFailureCount();

// Zero-fills the block over its whole size, then frees it. Null is ignored.
void ReleaseBlock(void* block, std::size_t size);

// The smallest of 16, 32, 64 ... strictly greater than `needed`,
// or 0 when that would exceed kMaxBlockSize.
std::size_t FitBlockSize(std::size_t needed);

namespace Testing {
// Makes the allocation after `successes` further successful ones fail
// (0: the very next one). A negative value turns the failure off.
void FailAllocationAfter(int successes);
// True while a failure set by FailAllocationAfter has not happened yet.
bool AllocationFailurePending();
}  // namespace Testing

}  // namespace Core
