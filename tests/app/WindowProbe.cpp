// scripts/e2e's eyes and hands inside Wine: finds the running tovi.exe
// window and its dialogs, reports where things are so that xdotool can use
// the real pointer, and reads or fills texts that cannot be typed through X.
//   geometry                 "clientX clientY clientWidth clientHeight barTop"
//   focus                    "CLASS ID" of the program's focused window
//   popup                    waits for a popup menu; "x y width height" of it
//   nopopup                  waits until no popup menu is shown
//   rows                     the item list's row count
//   selected                 the selected rows' numbers, or "-"
//   wait CAPTION             waits for a dialog; "x y width height" of it
//   gone CAPTION             waits until no such dialog is shown
//   center CAPTION ID        screen point at the middle of a dialog control
//   settext CAPTION ID TEXT  sets a dialog control's text
//   text CAPTION ID          prints a dialog control's text
//   log | title              prints the main window's log text or title
// CAPTION "-" stands for any dialog.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
  const char* caption;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam) {
  Search* search = reinterpret_cast<Search*>(lParam);
  char name[16] = "";
  GetClassNameA(hWnd, name, sizeof name);
  if (std::strcmp(name, "#32770") != 0 || !IsWindowVisible(hWnd)) return TRUE;
  char caption[256] = "";
  GetWindowTextA(hWnd, caption, sizeof caption);
  if (std::strcmp(search->caption, "-") != 0 && std::strcmp(search->caption, caption) != 0)
    return TRUE;
  search->found = hWnd;
  return FALSE;
}

HWND FindDialogNow(const char* caption) {
  Search search = {caption, nullptr};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits up to 15 s for the dialog.
HWND WaitDialog(const char* caption) {
  for (int i = 0; i < 150; ++i) {
    if (const HWND dialog = FindDialogNow(caption)) return dialog;
    Sleep(100);
  }
  std::fprintf(stderr, "tovi_window_probe: no dialog \"%s\"\n", caption);
  return nullptr;
}

std::string TextOf(HWND hWnd) {
  // WM_GETTEXT works across processes, unlike GetWindowText on a control.
  const LRESULT length = SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got =
      SendMessageA(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(got));
  return text;
}

int Geometry(HWND main) {
  const HWND list = FindWindowExA(main, nullptr, "SysListView32", nullptr);
  if (!list) return 1;
  RECT client;
  GetClientRect(main, &client);
  POINT origin = {0, 0};
  ClientToScreen(main, &origin);
  RECT listRect;
  GetWindowRect(list, &listRect);
  // The list's last row is the bar's first; the bar is 6 pixels high.
  const int barTop = listRect.bottom - 1;
  std::printf("%ld %ld %ld %ld %d\n", origin.x, origin.y, client.right, client.bottom, barTop);
  return 0;
}

int Focus(HWND main) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) || !info.hwndFocus)
    return 1;
  char name[64] = "";
  GetClassNameA(info.hwndFocus, name, sizeof name);
  std::printf("%s %d\n", name, GetDlgCtrlID(info.hwndFocus));
  return 0;
}

BOOL CALLBACK FindPopup(HWND hWnd, LPARAM lParam) {
  char name[16] = "";
  GetClassNameA(hWnd, name, sizeof name);
  if (std::strcmp(name, "#32768") != 0 || !IsWindowVisible(hWnd)) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = hWnd;
  return FALSE;
}

HWND FindPopupNow() {
  HWND found = nullptr;
  EnumWindows(FindPopup, reinterpret_cast<LPARAM>(&found));
  return found;
}

int Popup(bool shown) {
  for (int i = 0; i < 150; ++i) {
    const HWND popup = FindPopupNow();
    if (shown && popup) {
      RECT rc;
      GetWindowRect(popup, &rc);
      std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
      return 0;
    }
    if (!shown && !popup) return 0;
    Sleep(100);
  }
  std::fprintf(stderr, "tovi_window_probe: %s\n",
               shown ? "no popup menu" : "a popup menu stays open");
  return 1;
}

int Rows(HWND main, bool selectedOnly) {
  const HWND list = FindWindowExA(main, nullptr, "SysListView32", nullptr);
  if (!list) return 1;
  if (!selectedOnly) {
    std::printf("%d\n", static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
  }
  std::string rows;
  for (int row = -1;
       (row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;) {
    rows += (rows.empty() ? "" : " ") + std::to_string(row);
  }
  std::printf("%s\n", rows.empty() ? "-" : rows.c_str());
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tovi_window_probe "
               "geometry|focus|popup|nopopup|rows|selected|wait|gone|center|settext|text|"
               "log|title ...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  // Texts go out byte for byte: their CR LF must not become CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  const std::string command = argv[1];
  if (command == "popup" || command == "nopopup") return Popup(command == "popup");
  if (command == "wait" || command == "gone") {
    if (argc < 3) return Usage();
    if (command == "gone") {
      for (int i = 0; i < 150; ++i) {
        if (!FindDialogNow(argv[2])) return 0;
        Sleep(100);
      }
      return 1;
    }
    const HWND dialog = WaitDialog(argv[2]);
    if (!dialog) return 1;
    RECT rc;
    GetWindowRect(dialog, &rc);
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
  }
  if (command == "center" || command == "settext" || command == "text") {
    if (argc < (command == "settext" ? 5 : 4)) return Usage();
    const HWND dialog = WaitDialog(argv[2]);
    const HWND control = dialog ? GetDlgItem(dialog, std::atoi(argv[3])) : nullptr;
    if (!control) return 1;
    if (command == "settext") {
      SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
    } else if (command == "text") {
      std::fputs(TextOf(control).c_str(), stdout);
    } else {
      RECT rc;
      GetWindowRect(control, &rc);
      std::printf("%ld %ld\n", (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    return 0;
  }
  const HWND main = FindWindowA("Tovi", nullptr);
  if (!main) {
    std::fprintf(stderr, "tovi_window_probe: no Tovi window\n");
    return 1;
  }
  if (command == "geometry") return Geometry(main);
  if (command == "focus") return Focus(main);
  if (command == "rows" || command == "selected") return Rows(main, command == "selected");
  if (command == "title") {
    std::fputs(TextOf(main).c_str(), stdout);
    return 0;
  }
  if (command == "log") {
    const HWND log = FindWindowExA(main, nullptr, "Edit", nullptr);
    if (!log) return 1;
    std::fputs(TextOf(log).c_str(), stdout);
    return 0;
  }
  return Usage();
}
