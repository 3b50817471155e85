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

// Smallest distance the bar keeps from the top and the bottom while dragged.
constexpr int kDragMargin = 50;

// trunc(height * rate * 0.01 + 0.5): the item list's height for a client
// area `height` pixels high and a split rate in percent. Values beyond the
// ±2^24 (a wild rate from the settings file) saturate.
int SplitPosition(int height, double rate);

// The children's places for a client area of width × height.
MainLayout ComputeMainLayout(int width, int height, double rate);

// Width of each of the two list columns for a client area from left to right.
int ColumnWidth(int left, int right);

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
