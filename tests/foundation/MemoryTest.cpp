// Wiping a block that stays in use: small ones are written over, large ones
// may give whole pages back; either way every byte reads as zero after,
// and the block takes new text where it lies.
#include "foundation/Memory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

bool AllZero(const char* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

}  // namespace

TEST(MemoryTest, WipedBlocksReadAsZeroAndStayUsable) {
  struct Row {
    std::size_t size;
    std::size_t used;
  };
  const std::size_t unit = Core::kLargeBlockUnit;
  const Row rows[] = {
      {64, 10},                                        // from the heap
      {Core::kLargeBlockSize, Core::kLargeBlockSize},  // the smallest large block, all used
      {3 * unit, unit - 1},                            // less than a large page
      {3 * unit, unit},                                // exactly one
      {3 * unit, 2 * unit + 12345},                    // pages and a tail
  };
  for (const Row& row : rows) {
    char* block = static_cast<char*>(Core::AllocateBlock(row.size));
    ASSERT_NE(block, nullptr);
    std::memset(block, 'x', row.used);
    Core::WipeBlock(block, row.size, row.used);
    EXPECT_TRUE(AllZero(block, row.size)) << row.size << " " << row.used;
    std::memset(block, 'y', row.used);
    EXPECT_EQ(block[row.used - 1], 'y');
    Core::ReleaseBlock(block, row.size, row.used);
  }
}
