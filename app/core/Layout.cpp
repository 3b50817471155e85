#include "app/core/Layout.h"

#include <climits>

namespace Layout {

namespace {
// Converting a double outside the int range is undefined behaviour.
int TruncSaturated(double value, int limit) {
  if (!(value > -static_cast<double>(limit))) return -limit;  // NaN too
  if (value >= static_cast<double>(limit)) return limit;
  return static_cast<int>(value);
}

// Far beyond any screen, and small enough that y + 6 cannot overflow.
constexpr int kPositionLimit = 1 << 24;
}  // namespace

int SplitPosition(int height, double rate) {
  return TruncSaturated(height * rate * 0.01 + 0.5, kPositionLimit);
}

MainLayout ComputeMainLayout(int width, int height, double rate) {
  MainLayout layout;
  const int y = SplitPosition(height, rate);
  layout.list = {1, 1, width - 2, y};
  layout.splitBar = {0, y, width, y + 6};
  layout.log = {0, y + 5, width, height - (y + 5)};
  layout.dragMin = kDragMargin;
  layout.dragMax = height - kDragMargin;
  return layout;
}

int ColumnWidth(int left, int right) { return (right - left) / 2 - 5; }

bool Contains(const Rect& rect, int x, int y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

int ClampDragY(int y, int min, int max) {
  if (y < min) return min;
  if (y > max) return max;
  return y;
}

void MoveDown(Rect* rect, int dy) {
  rect->top += dy;
  rect->bottom += dy;
}

double SplitRateFor(int top, int height, double current) {
  if (height <= 0) return current;
  return static_cast<double>(top) / height * 100;
}

int RoundRate(double rate) { return TruncSaturated(rate + 0.5, INT_MAX); }

namespace {
// Start of a length `size` centred on [low, high), then kept in [min, max).
int CentreAxis(int low, int high, int size, int min, int max) {
  int start = low + (high - low - size) / 2;
  if (start + size > max) start = max - size;
  if (start < min) start = min;
  return start;
}
}  // namespace

Point CentreOver(const Rect& owner, int width, int height, const Rect& area) {
  return {CentreAxis(owner.left, owner.right, width, area.left, area.right),
          CentreAxis(owner.top, owner.bottom, height, area.top, area.bottom)};
}

}  // namespace Layout
