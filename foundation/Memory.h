// Heap blocks for the foundation containers: zero-filled on allocation,
// wiped before release, capped at 1 GiB. Large blocks (a whole file, an
// item's output) come straight from the system in large pages where it
// offers them: touching fresh memory page by page costs more than the
// work done on it. Where the system zero-fills the pages it takes back
// before anyone gets them again, a large block is wiped by giving its
// pages back rather than by writing zeros over them.
#pragma once

#include <cstddef>

namespace Core {

// A block larger than this counts as a failed allocation.
constexpr std::size_t kMaxBlockSize = std::size_t(1) << 30;

// Returns a zero-filled block, or nullptr when the size exceeds
// kMaxBlockSize or the allocation fails.
void* AllocateBlock(std::size_t size);

// How many allocations have failed so far in this process.
std::size_t AllocationFailureCount();

// Counts a request for memory that was refused without asking for it (a
// size past a limit) as a failed allocation.
void NoteAllocationFailure();

// Whether an allocation failed since the watch was made or restarted: the
// one way code learns that memory ran out while it worked. An operation
// that builds many strings watches once instead of checking each.
class CAllocationWatch {
 public:
  CAllocationWatch() : m_nStart(AllocationFailureCount()) {}
  void Restart() { m_nStart = AllocationFailureCount(); }
  bool Failed() const { return AllocationFailureCount() != m_nStart; }

 private:
  std::size_t m_nStart;
};

// Zero-fills the block over its whole size, then frees it. Null is ignored.
// `size` is the size the block was allocated with.
void ReleaseBlock(void* block, std::size_t size);
// The same for a block of which only the first `used` bytes were ever
// written; the rest is still zero and stays untouched.
void ReleaseBlock(void* block, std::size_t size, std::size_t used);

// Zero-fills the first `used` bytes of a block of `size` bytes that stays
// in use (the rest must be zero already).
void WipeBlock(void* block, std::size_t size, std::size_t used);

// Moves the block to a larger size, keeping its first `used` bytes (the
// rest of the old block must be zero); what is new is zero. Null when the
// allocation fails, and the old block is then as it was. A large block can
// grow where it lies, without a copy and without both at once.
void* ResizeBlock(void* block, std::size_t size, std::size_t used, std::size_t newSize);

// Blocks of at least this size are large blocks; their sizes are
// multiples of kLargeBlockUnit rather than powers of two.
constexpr std::size_t kLargeBlockSize = std::size_t(256) << 10;
constexpr std::size_t kLargeBlockUnit = std::size_t(2) << 20;

// The smallest of 16, 32, 64 ... strictly greater than `needed`,
// or 0 when that would exceed kMaxBlockSize.
std::size_t FitBlockSize(std::size_t needed);

// The platform's large blocks: zero-filled, null on failure. Resizing
// returns null where the platform cannot move a block without copying.
// Release and wipe take `used`: the bytes that may be non-zero.
void* AllocateLargeBlock(std::size_t size);
void ReleaseLargeBlock(void* block, std::size_t size, std::size_t used);
void WipeLargeBlock(void* block, std::size_t size, std::size_t used);
void* ResizeLargeBlock(void* block, std::size_t size, std::size_t newSize);

namespace Testing {
// Makes the allocation after `successes` further successful ones fail
// (0: the very next one). A negative value turns the failure off.
void FailAllocationAfter(int successes);
// True while a failure set by FailAllocationAfter has not happened yet.
bool AllocationFailurePending();
}  // namespace Testing

}  // namespace Core
