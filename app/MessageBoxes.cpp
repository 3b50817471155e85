#include "app/MessageBoxes.h"

#include "app/core/Layout.h"

namespace {

Layout::Rect ToRect(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

// The box being shown; the hook moves it once its own WM_INITDIALOG has
// sized and placed it, before it appears.
HHOOK g_hBoxHook = nullptr;
HWND g_hBoxOwner = nullptr;

LRESULT CALLBACK CentreBoxHook(int code, WPARAM wParam, LPARAM lParam) {
  const HHOOK hook = g_hBoxHook;
  const CWPRETSTRUCT* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && hook && message->message == WM_INITDIALOG &&
      GetWindow(message->hwnd, GW_OWNER) == g_hBoxOwner) {
    UnhookWindowsHookEx(hook);
    g_hBoxHook = nullptr;
    CentreOnOwner(message->hwnd);
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

}  // namespace

void CentreOnOwner(HWND hWnd) {
  const HWND owner = GetWindow(hWnd, GW_OWNER);
  if (!owner || !IsWindowVisible(owner) || IsIconic(owner)) return;
  RECT ownerRect;
  RECT rect;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(owner, &ownerRect) || !GetWindowRect(hWnd, &rect) ||
      !GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return;
  }
  const Layout::Point at = Layout::CentreOver(ToRect(ownerRect), rect.right - rect.left,
                                              rect.bottom - rect.top, ToRect(monitor.rcWork));
  SetWindowPos(hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  // A box opened while another is shown (never today) simply stays where
  // the platform puts it.
  if (owner && !g_hBoxHook) {
    g_hBoxOwner = owner;
    g_hBoxHook = SetWindowsHookExA(WH_CALLWNDPROCRET, CentreBoxHook, nullptr, GetCurrentThreadId());
  }
  const int answer = MessageBoxA(owner, text, caption, type);
  if (g_hBoxHook) {
    UnhookWindowsHookEx(g_hBoxHook);
    g_hBoxHook = nullptr;
  }
  return answer;
}
