#include "app/Dpi.h"

#include "app/core/Layout.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up at run time: Vista to Windows 10 1511 have no such function,
// and a program that imported it would not start there.
GetDpiForWindowFn GetDpiForWindowFunction() {
  static const GetDpiForWindowFn function = [] {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    // Through void (*)(void), the one cast GCC takes between function types.
    return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(found));
  }();
  return function;
}

}  // namespace

int WindowDpi(HWND hWnd) {
  if (const GetDpiForWindowFn function = GetDpiForWindowFunction()) {
    const UINT dpi = function(hWnd);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : Layout::kBaseDpi;
}
