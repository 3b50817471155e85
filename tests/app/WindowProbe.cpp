// scripts/e2e's eyes inside Wine: finds the running tovi.exe window and
// prints where its client area and split bar are on the screen, so that
// xdotool can drag the bar with the real pointer.
//   tovi_window_probe geometry  ->  "clientX clientY clientWidth clientHeight barY"
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "geometry") != 0) {
    std::fprintf(stderr, "usage: tovi_window_probe geometry\n");
    return 2;
  }
  const HWND main = FindWindowA("Tovi", nullptr);
  const HWND list = main ? FindWindowExA(main, nullptr, "SysListView32", nullptr) : nullptr;
  if (!list) {
    std::fprintf(stderr, "tovi_window_probe: no Tovi window with an item list\n");
    return 1;
  }
  RECT client;
  GetClientRect(main, &client);
  POINT origin = {0, 0};
  ClientToScreen(main, &origin);
  RECT listRect;
  GetWindowRect(list, &listRect);
  // The list ends one pixel below the bar's top; the bar is 6 pixels high.
  const int barTop = listRect.bottom - 1;
  std::printf("%ld %ld %ld %ld %d\n", origin.x, origin.y, client.right, client.bottom, barTop + 2);
  return 0;
}
