#include "app/core/Layout.h"

#include <climits>
#include <cstdint>

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

int Rescale(int value, int to, int from) {
  if (from <= 0) return value;
  const std::int64_t product = static_cast<std::int64_t>(value) * to;
  const std::int64_t half = from / 2;
  const std::int64_t result = product >= 0 ? (product + half) / from : -((-product + half) / from);
  if (result > INT_MAX) return INT_MAX;
  if (result < INT_MIN) return INT_MIN;
  return static_cast<int>(result);
}

int ForDpi(int value, int dpi) { return Rescale(value, dpi, kBaseDpi); }

MainLayout ComputeMainLayout(int width, int height, double rate, int dpi) {
  MainLayout layout;
  const int y = SplitPosition(height, rate);
  const int inset = ForDpi(kListInset, dpi);
  const int logTop = y + ForDpi(kLogOffset, dpi);
  const int margin = ForDpi(kDragMargin, dpi);
  layout.list = {inset, inset, width - 2 * inset, y};
  layout.splitBar = {0, y, width, y + ForDpi(kSplitBarThickness, dpi)};
  layout.log = {0, logTop, width, height - logTop};
  layout.dragMin = margin;
  layout.dragMax = height - margin;
  return layout;
}

int ColumnWidth(int left, int right, int dpi) {
  return (right - left) / 2 - ForDpi(kColumnMargin, dpi);
}

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
