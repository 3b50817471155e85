// Layout arithmetic, the split bar's hit area, drag limits and split rate.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/core/Layout.h"

namespace {

using Layout::Rect;

TEST(LayoutTest, HalfSplitOfA400PixelClientArea) {
  const Layout::MainLayout layout = Layout::ComputeMainLayout(600, 400, 50.0);
  EXPECT_EQ(1, layout.list.x);
  EXPECT_EQ(1, layout.list.y);
  EXPECT_EQ(598, layout.list.width);
  EXPECT_EQ(200, layout.list.height);
  EXPECT_EQ(0, layout.splitBar.left);
  EXPECT_EQ(200, layout.splitBar.top);
  EXPECT_EQ(600, layout.splitBar.right);
  EXPECT_EQ(206, layout.splitBar.bottom);
  EXPECT_EQ(0, layout.log.x);
  EXPECT_EQ(205, layout.log.y);
  EXPECT_EQ(600, layout.log.width);
  EXPECT_EQ(195, layout.log.height);
  EXPECT_EQ(50, layout.dragMin);
  EXPECT_EQ(350, layout.dragMax);
}

struct PositionRow {
  int height;
  double rate;
  int want;
};

TEST(LayoutTest, SplitPositionRoundsHalfUp) {
  const PositionRow rows[] = {
      {400, 50.0, 200},
      {401, 50.0, 201},  // 200.5 rounds up
      {399, 50.0, 200},
      {400, 30.000000000000004, 120},
      {300, 33.5, 101},
      {0, 50.0, 0},
      {400, 0.0, 0},
      {400, 100.0, 400},
      // A wild rate from the settings file saturates instead of overflowing.
      {30000, 4294967295.0, 1 << 24},
  };
  for (const PositionRow& row : rows) {
    SCOPED_TRACE(row.height);
    EXPECT_EQ(row.want, Layout::SplitPosition(row.height, row.rate));
  }
  const Layout::MainLayout wild = Layout::ComputeMainLayout(100, 30000, 4294967295.0);
  EXPECT_EQ((1 << 24) + 6, wild.splitBar.bottom);
}

TEST(LayoutTest, ColumnsShareTheClientWidth) {
  EXPECT_EQ(295, Layout::ColumnWidth(0, 600));
  EXPECT_EQ(295, Layout::ColumnWidth(0, 601));
  EXPECT_EQ(-5, Layout::ColumnWidth(0, 0));
  EXPECT_EQ(442, Layout::ColumnWidth(0, 900, 144));  // 450 - 7.5 rounded
  EXPECT_EQ(590, Layout::ColumnWidth(0, 1200, 192));
}

// Each pixel quantity scaled by the DPI, rounded as MulDiv rounds; the
// split position stays a share of the height.
TEST(LayoutTest, PixelQuantitiesFollowTheDpi) {
  const struct {
    int dpi;
    int inset, bar, logTop, margin;
  } rows[] = {
      {96, 1, 6, 5, 50},
      {120, 1, 8, 6, 63},  // 1.25, 7.5, 6.25, 62.5
      {144, 2, 9, 8, 75},  // 1.5 and 7.5 round up
      {192, 2, 12, 10, 100},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.dpi);
    const Layout::MainLayout layout = Layout::ComputeMainLayout(900, 600, 30.0, row.dpi);
    EXPECT_EQ(row.inset, layout.list.x);
    EXPECT_EQ(row.inset, layout.list.y);
    EXPECT_EQ(900 - 2 * row.inset, layout.list.width);
    EXPECT_EQ(180, layout.list.height);
    EXPECT_EQ(180, layout.splitBar.top);
    EXPECT_EQ(180 + row.bar, layout.splitBar.bottom);
    EXPECT_EQ(180 + row.logTop, layout.log.y);
    EXPECT_EQ(600 - 180 - row.logTop, layout.log.height);
    EXPECT_EQ(row.margin, layout.dragMin);
    EXPECT_EQ(600 - row.margin, layout.dragMax);
  }
}

TEST(LayoutTest, RescaleRoundsHalfAwayFromZeroAndSaturates) {
  const struct {
    int value, to, from, want;
  } rows[] = {
      {13, 144, 96, 20},        {13, 120, 96, 16},        {-13, 144, 96, -20}, {5, 144, 96, 8},
      {7, 96, 144, 5},          {0, 192, 96, 0},          {640, 96, 0, 640},   {640, 96, -1, 640},
      {INT_MAX, 2, 1, INT_MAX}, {INT_MIN, 2, 1, INT_MIN},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.value) + " " + std::to_string(row.to) + "/" +
                 std::to_string(row.from));
    EXPECT_EQ(row.want, Layout::Rescale(row.value, row.to, row.from));
  }
}

TEST(LayoutTest, BarHitAreaIncludesTopLeftOnly) {
  const Rect bar{0, 200, 600, 206};
  EXPECT_TRUE(Layout::Contains(bar, 0, 200));
  EXPECT_TRUE(Layout::Contains(bar, 599, 205));
  EXPECT_FALSE(Layout::Contains(bar, 600, 200));
  EXPECT_FALSE(Layout::Contains(bar, 10, 206));
  EXPECT_FALSE(Layout::Contains(bar, 10, 199));
  EXPECT_FALSE(Layout::Contains(bar, -1, 202));
}

TEST(LayoutTest, DragClampsToMarginsAndMovesTheBar) {
  EXPECT_EQ(50, Layout::ClampDragY(10, 50, 350));
  EXPECT_EQ(50, Layout::ClampDragY(-300, 50, 350));
  EXPECT_EQ(350, Layout::ClampDragY(390, 50, 350));
  EXPECT_EQ(120, Layout::ClampDragY(120, 50, 350));
  // A client area under 100 pixels: the lower limit wins.
  EXPECT_EQ(50, Layout::ClampDragY(20, 50, 30));
  EXPECT_EQ(30, Layout::ClampDragY(60, 50, 30));

  Rect bar{0, 200, 600, 206};
  Layout::MoveDown(&bar, -80);
  EXPECT_EQ(120, bar.top);
  EXPECT_EQ(126, bar.bottom);
  EXPECT_EQ(0, bar.left);
  EXPECT_EQ(600, bar.right);
}

TEST(LayoutTest, SplitRateIsTheBarsShareOfTheHeight) {
  EXPECT_DOUBLE_EQ(30.0, Layout::SplitRateFor(120, 400, 50.0));
  EXPECT_DOUBLE_EQ(100.0 / 3, Layout::SplitRateFor(100, 300, 50.0));
  // No client height: the rate stays rather than becoming infinite.
  EXPECT_DOUBLE_EQ(42.0, Layout::SplitRateFor(50, 0, 42.0));
  EXPECT_DOUBLE_EQ(42.0, Layout::SplitRateFor(50, -5, 42.0));
}

TEST(LayoutTest, StoredRateRoundsHalfUp) {
  EXPECT_EQ(34, Layout::RoundRate(33.5));
  EXPECT_EQ(33, Layout::RoundRate(33.49));
  EXPECT_EQ(30, Layout::RoundRate(30.000000000000004));
  EXPECT_EQ(INT_MAX, Layout::RoundRate(4294967295.0));
}

TEST(LayoutTest, CentredWindowsStayOnTheWorkArea) {
  const Rect area{0, 0, 1024, 738};
  const struct {
    Rect owner;
    int width, height;
    int x, y;
  } rows[] = {
      {{0, 0, 768, 576}, 200, 100, 284, 238},
      {{100, 50, 301, 251}, 100, 100, 150, 100},  // odd sizes round towards the top-left
      {{-300, -200, 100, 100}, 200, 100, 0, 0},   // owner partly off screen
      {{900, 600, 1300, 900}, 200, 100, 824, 638},
      {{0, 0, 768, 576}, 1100, 800, 0, 0},  // larger than the area: top-left in view
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.x * 10000 + row.y);
    const Layout::Point at = Layout::CentreOver(row.owner, row.width, row.height, area);
    EXPECT_EQ(row.x, at.x);
    EXPECT_EQ(row.y, at.y);
  }
}

}  // namespace
