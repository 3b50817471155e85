// The split bar between the item list and the log pane: hit area, split
// cursor, the XOR drag band and the new split rate on release.
#include "app/MainWnd.h"
#include "app/resource.h"

HCURSOR CMainWnd::SplitCursor() const {
  return LoadCursorA(m_hInstance, MAKEINTRESOURCEA(IDC_SPLIT));
}

void CMainWnd::OnMouseMove(int x, int y) {
  if (!m_bDragging) {
    if (Layout::Contains(m_rcSplitBar, x, y)) SetCursor(SplitCursor());
    return;
  }
  DrawDragBand();
  const int clamped = Layout::ClampDragY(y, m_nDragMin, m_nDragMax);
  Layout::MoveDown(&m_rcSplitBar, clamped - m_nDragLastY);
  DrawDragBand();
  m_nDragLastY = clamped;
}

void CMainWnd::OnLButtonDown(int x, int y) {
  if (!Layout::Contains(m_rcSplitBar, x, y)) return;
  m_bDragging = 1;
  SetCursor(SplitCursor());
  DrawDragBand();
  m_nDragLastY = y;
  SetCapture(m_hWnd);
}

void CMainWnd::OnLButtonUp(int, int y) {
  if (!m_bDragging) return;
  ReleaseCapture();
  DrawDragBand();
  m_bDragging = 0;
  const int clamped = Layout::ClampDragY(y, m_nDragMin, m_nDragMax);
  Layout::MoveDown(&m_rcSplitBar, clamped - m_nDragLastY);
  RECT client;
  GetClientRect(m_hWnd, &client);
  const int height = client.bottom - client.top;
  m_settings.m_dSplitRate = Layout::SplitRateFor(m_rcSplitBar.top, height, m_settings.m_dSplitRate);
  OnSize(0, client.right - client.left, height);
}

// Drawing the same band twice restores the screen; that is how it is removed.
void CMainWnd::DrawDragBand() const {
  POINT corners[2] = {{m_rcSplitBar.left, m_rcSplitBar.top},
                      {m_rcSplitBar.right, m_rcSplitBar.bottom}};
  ClientToScreen(m_hWnd, &corners[0]);
  ClientToScreen(m_hWnd, &corners[1]);
  const HWND desktop = GetDesktopWindow();
  const HDC hdc = GetWindowDC(desktop);
  if (!hdc) return;
  const int oldMode = SetROP2(hdc, R2_XORPEN);
  const HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
  const HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(GRAY_BRUSH));
  Rectangle(hdc, corners[0].x, corners[0].y, corners[1].x, corners[1].y);
  SetROP2(hdc, oldMode);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
  ReleaseDC(desktop, hdc);
}
