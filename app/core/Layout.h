// Geometry of the main window: item list above, log pane below, and the
// split bar between them that the user drags.
#pragma once

namespace Layout {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct Point {
  int x = 0;
  int y = 0;
};

// A child window's place: position and size.
struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct MainLayout {
  Placement list;
  Rect splitBar;
  Placement log;
  int dragMin = 0;
  int dragMax = 0;
};

// The DPI at which the pixel quantities below are as written; the window
// scales each by its own DPI.
constexpr int kBaseDpi = 96;

// Smallest distance the bar keeps from the top and the bottom while dragged.
constexpr int kDragMargin = 50;
// The split bar's thickness, which is also the rows that take the pointer.
constexpr int kSplitBarThickness = 6;
// From the bar's top to the log pane's top: the pane's border lies under
// the bar's last row.
constexpr int kLogOffset = 5;
// The item list's distance from the client area's left, top and right.
constexpr int kListInset = 1;
// What each of the two columns leaves of its half of the width.
constexpr int kColumnMargin = 5;
// Height of the log pane's font.
constexpr int kLogFontHeight = 13;

// value × to / from, rounded half away from zero as MulDiv rounds;
// saturates at the int range. A `from` of 0 or less leaves the value.
int Rescale(int value, int to, int from);

// A quantity given at kBaseDpi, for a window at `dpi`.
int ForDpi(int value, int dpi);

// trunc(height * rate * 0.01 + 0.5): the item list's height for a client
// area `height` pixels high and a split rate in percent. Values beyond the
// ±2^24 (a wild rate from the settings file) saturate.
int SplitPosition(int height, double rate);

// The children's places for a client area of width × height at `dpi`.
MainLayout ComputeMainLayout(int width, int height, double rate, int dpi = kBaseDpi);

// Width of each of the two list columns for a client area from left to
// right at `dpi`.
int ColumnWidth(int left, int right, int dpi = kBaseDpi);

// Left and top inclusive, right and bottom exclusive.
bool Contains(const Rect& rect, int x, int y);

// A pointer y during a drag: raised to min when below it, else lowered to
// max when above it.
int ClampDragY(int y, int min, int max);

// Moves the rectangle down by dy (up for negative dy).
void MoveDown(Rect* rect, int dy);

// The split rate the bar's top gives in a client area `height` high:
// top / height * 100, not rounded. A client area without height keeps
// `current`, since there is nothing to divide.
double SplitRateFor(int top, int height, double current);

// trunc(rate + 0.5), saturating: the whole-number rate the settings store.
int RoundRate(double rate);

// Top-left corner that centres a window width × height over `owner`, moved
// inside `area` (the work area of the screen) as far as it fits; a window
// larger than the area keeps its top-left corner in view.
Point CentreOver(const Rect& owner, int width, int height, const Rect& area);

}  // namespace Layout
