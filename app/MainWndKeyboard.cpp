// The keyboard in the main window: which pane has the focus, Tab between
// the panes, Enter and Delete on the item list, the context menu keys; and
// the panes' share of the split bar.
#include <windows.h>
#include <commctrl.h>

#include "app/MainWnd.h"

namespace {

constexpr UINT_PTR kPaneSubclassId = 1;

// Both panes: Tab moves on, and where the split bar overlaps them the
// pointer belongs to the main window (HTTRANSPARENT passes it to the
// window below, which is the main window).
LRESULT CALLBACK PaneProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
  CMainWnd* const wnd = reinterpret_cast<CMainWnd*>(data);
  switch (message) {
    case WM_NCHITTEST:
      if (wnd->IsOnSplitBar(static_cast<short>(LOWORD(lParam)),
                            static_cast<short>(HIWORD(lParam)))) {
        return HTTRANSPARENT;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_TAB) {
        wnd->OnTabKey(hWnd);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == '\t') return 0;  // the key has been handled
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hWnd, PaneProc, kPaneSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(hWnd, message, wParam, lParam);
}

}  // namespace

void CMainWnd::SubclassPanes() {
  const DWORD_PTR self = reinterpret_cast<DWORD_PTR>(this);
  if (m_hWndList) SetWindowSubclass(m_hWndList, PaneProc, kPaneSubclassId, self);
  if (m_hWndLog) SetWindowSubclass(m_hWndLog, PaneProc, kPaneSubclassId, self);
}

bool CMainWnd::IsOnSplitBar(int screenX, int screenY) const {
  POINT at = {screenX, screenY};
  ScreenToClient(m_hWnd, &at);
  return Layout::Contains(m_rcSplitBar, at.x, at.y);
}

void CMainWnd::OnTabKey(HWND from) { SetFocus(from == m_hWndList ? m_hWndLog : m_hWndList); }

void CMainWnd::OnActivate(bool active) {
  if (active) return;
  const HWND focus = GetFocus();
  if (focus && (focus == m_hWndList || focus == m_hWndLog)) m_hWndFocus = focus;
}

void CMainWnd::OnSetFocus() {
  const HWND pane = m_hWndFocus && IsWindow(m_hWndFocus) ? m_hWndFocus : m_hWndList;
  if (pane) SetFocus(pane);
}

void CMainWnd::OnListKeyDown(WORD key) {
  if (key == VK_RETURN)
    OnEditItem();
  else if (key == VK_DELETE)
    OnDeleteItems();
}

POINT CMainWnd::ContextMenuAnchor() const {
  // The focused row when it is one of the selected, else the first selected.
  int row = static_cast<int>(
      SendMessageA(m_hWndList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (row < 0 ||
      !(SendMessageA(m_hWndList, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED)) {
    row = NextSelectedRow(-1);
  }
  POINT at = {0, 0};
  if (row < 0) return at;
  SendMessageA(m_hWndList, LVM_ENSUREVISIBLE, row, FALSE);
  RECT label = {};
  label.left = LVIR_LABEL;
  if (!SendMessageA(m_hWndList, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&label))) return at;
  // Below the row's text, where the menu covers neither it nor the header.
  at.x = label.left;
  at.y = label.bottom;
  return at;
}

bool CMainWnd::OnContextMenu(HWND from, bool keyboard) {
  if (from != m_hWndList || !keyboard) return false;
  const HMENU popup = ContextMenuForSelection();
  if (!popup) return true;
  POINT at = ContextMenuAnchor();
  ClientToScreen(m_hWndList, &at);
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, m_hWnd,
                 nullptr);
  return true;
}
