#include "foundation/Compiler.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::uint64_t kAllOnes = ~std::uint64_t(0);
constexpr std::uint64_t kTop = std::uint64_t(1) << 63;

// The compiler's scans and the portable ones against known answers.
TEST(CompilerTest, BitScansFindTheEndBits) {
  const struct {
    std::uint64_t bits;
    unsigned lowest;
    unsigned highest;
  } rows[] = {
      {1, 0, 0},
      {2, 1, 1},
      {3, 0, 1},
      {0x80000000u, 31, 31},
      {0xFFFFFFFFu, 0, 31},
      {0x00010000u, 16, 16},
      {0x100000000u, 32, 32},
      {kTop, 63, 63},
      {kTop | 1, 0, 63},
      {kAllOnes, 0, 63},
      {0x00F0000000000F00u, 8, 55},
      {0xFFFFFFFF00000000u, 32, 63},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bits);
    EXPECT_EQ(Core::LowestBit64(row.bits), row.lowest);
    EXPECT_EQ(Core::HighestBit64(row.bits), row.highest);
    EXPECT_EQ(Core::Portable::LowestBit64(row.bits), row.lowest);
    EXPECT_EQ(Core::Portable::HighestBit64(row.bits), row.highest);
    const std::uint32_t low = static_cast<std::uint32_t>(row.bits);
    if (low == 0 || row.highest > 31) continue;
    EXPECT_EQ(Core::LowestBit32(low), row.lowest);
    EXPECT_EQ(Core::HighestBit32(low), row.highest);
    EXPECT_EQ(Core::Portable::LowestBit32(low), row.lowest);
    EXPECT_EQ(Core::Portable::HighestBit32(low), row.highest);
  }
  // Every place, alone and with every bit on one side of it.
  for (unsigned place = 0; place < 64; ++place) {
    SCOPED_TRACE(place);
    const std::uint64_t bit = std::uint64_t(1) << place;
    const std::uint64_t above = kAllOnes << place, below = kAllOnes >> (63 - place);
    EXPECT_EQ(Core::LowestBit64(bit), place);
    EXPECT_EQ(Core::HighestBit64(bit), place);
    EXPECT_EQ(Core::LowestBit64(above), place);
    EXPECT_EQ(Core::HighestBit64(below), place);
    EXPECT_EQ(Core::Portable::LowestBit64(above), place);
    EXPECT_EQ(Core::Portable::HighestBit64(below), place);
    if (place < 32) {
      EXPECT_EQ(Core::LowestBit32(static_cast<std::uint32_t>(above)), place);
      EXPECT_EQ(Core::HighestBit32(static_cast<std::uint32_t>(below)), place);
      EXPECT_EQ(Core::Portable::LowestBit32(static_cast<std::uint32_t>(above)), place);
      EXPECT_EQ(Core::Portable::HighestBit32(static_cast<std::uint32_t>(below)), place);
    }
  }
}

TEST(CompilerTest, Multiply128GivesBothHalves) {
  const struct {
    std::uint64_t a, b, low, high;
  } rows[] = {
      {0, kAllOnes, 0, 0},
      {1, 1, 1, 0},
      {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFE00000001u, 0},
      {0x100000000u, 0x100000000u, 0, 1},
      {kAllOnes, 2, 0xFFFFFFFFFFFFFFFEu, 1},
      {kTop, kTop, 0, 0x4000000000000000u},
      {kAllOnes, kAllOnes, 1, 0xFFFFFFFFFFFFFFFEu},
      {0x123456789ABCDEF0u, 0x0FEDCBA987654321u, 0x2236D88FE5618CF0u, 0x0121FA00AD77D742u},
      {0x9E3779B97F4A7C15u, 0xBF58476D1CE4E5B9u, 0xD67411C46C86742Du, 0x7641F3080FF92329u},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.a << " * " << row.b);
    for (const Core::Product128 product :
         {Core::Multiply128(row.a, row.b), Core::Multiply128(row.b, row.a),
          Core::Portable::Multiply128(row.a, row.b)}) {
      EXPECT_EQ(product.low, row.low);
      EXPECT_EQ(product.high, row.high);
    }
  }
  // Many products whose partial sums carry in every way.
  std::uint64_t state = 1;
  for (int i = 0; i < 10000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    const std::uint64_t a = state, b = state ^ (state >> 29) ^ (kAllOnes << (i % 64));
    const Core::Product128 fast = Core::Multiply128(a, b);
    const Core::Product128 portable = Core::Portable::Multiply128(a, b);
    ASSERT_EQ(fast.low, portable.low) << std::hex << a << " * " << b;
    ASSERT_EQ(fast.high, portable.high) << std::hex << a << " * " << b;
  }
}

}  // namespace
