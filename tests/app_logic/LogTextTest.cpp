// Appending to the log text with a tracked length.
#include <gtest/gtest.h>

#include <string>

#include "app/core/LogText.h"
#include "foundation/Memory.h"

namespace {

TEST(LogTextTest, AppendsMatchPlainConcatenation) {
  Core::CString log;
  int length = 0;
  std::string want;
  // Lengths chosen to cross block sizes at and around powers of two.
  for (int i = 0; i < 3000; ++i) {
    const std::string piece =
        std::string(static_cast<std::size_t>(i % 37 + 1), char('a' + i % 26)) + "\r\n";
    ASSERT_TRUE(AppendTracked(&log, &length, piece.c_str()));
    want += piece;
  }
  EXPECT_EQ(static_cast<int>(want.size()), length);
  EXPECT_EQ(length, log.GetLength());
  EXPECT_EQ(want, log.GetText());
  EXPECT_GT(log.GetCapacity(), static_cast<std::uint32_t>(length));
}

TEST(LogTextTest, BlockGrowsToThePowerOfTwoAboveTheText) {
  Core::CString log;
  int length = 0;
  ASSERT_TRUE(AppendTracked(&log, &length, std::string(15, 'x').c_str()));
  EXPECT_EQ(16u, log.GetCapacity());
  ASSERT_TRUE(AppendTracked(&log, &length, "y"));
  EXPECT_EQ(32u, log.GetCapacity());
  EXPECT_STREQ("xxxxxxxxxxxxxxxy", log.GetText());
}

// A pane that is quick to show catches up every interval; a slow one waits
// four times its cost, so showing it never takes more than a fifth of a run.
TEST(LogTextTest, PaneCatchesUpAtAPaceItsCostAllows) {
  CLogShowPace pace(1000);
  EXPECT_FALSE(pace.Due(1000 + kLogShowInterval - 1));
  EXPECT_TRUE(pace.Due(1000 + kLogShowInterval));
  pace.Shown(1300, 1310);
  EXPECT_FALSE(pace.Due(1310 + kLogShowInterval - 1));
  EXPECT_TRUE(pace.Due(1310 + kLogShowInterval));
  pace.Shown(2000, 2200);
  EXPECT_FALSE(pace.Due(2200 + 799));
  EXPECT_TRUE(pace.Due(2200 + 800));
}

TEST(LogTextTest, EmptyTailChangesNothing) {
  Core::CString log;
  int length = 0;
  EXPECT_TRUE(AppendTracked(&log, &length, ""));
  EXPECT_EQ(0, length);
  EXPECT_EQ(nullptr, log.GetBuffer());
}

TEST(LogTextTest, StartsAfterTextEmptiedInPlace) {
  Core::CString log("old text");
  int length = 0;
  log.Empty();  // what emptying the log does: block kept, zero-filled
  ASSERT_TRUE(AppendTracked(&log, &length, "new"));
  EXPECT_STREQ("new", log.GetText());
}

TEST(LogTextTest, FailedGrowthKeepsTheText) {
  Core::CString log;
  int length = 0;
  ASSERT_TRUE(AppendTracked(&log, &length, "0123456789"));
  Core::Testing::FailAllocationAfter(0);
  EXPECT_FALSE(AppendTracked(&log, &length, "abcdefghij"));
  Core::Testing::FailAllocationAfter(-1);
  EXPECT_EQ(10, length);
  EXPECT_STREQ("0123456789", log.GetText());
}

}  // namespace
