// The DPI the main window is shown at.
#pragma once

#include <windows.h>

// The window's monitor's DPI where Windows tells it (Windows 10 1607 and
// later, per-monitor aware), else the system's.
int WindowDpi(HWND hWnd);

// The system DPI, as the screen's device context reports it.
int SystemDpi();
