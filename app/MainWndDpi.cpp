// The main window at the DPI of its monitor: fonts, icons and column widths
// for it, and the move to a monitor of another DPI.
#include "app/Dpi.h"
#include "app/MainWnd.h"
#include "app/resource.h"

namespace {

// Small and large icons are 16 and 32 pixels at 96 DPI.
constexpr int kSmallIcon = 16;
constexpr int kBigIcon = 32;

HICON LoadIconOfSize(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_TOVI), IMAGE_ICON, size, size, 0));
}

}  // namespace

void CMainWnd::ApplyDpiResources() {
  const HFONT oldLog = m_hFontLog;
  m_hFontLog =
      CreateFontA(Layout::ForDpi(Layout::kLogFontHeight, m_nDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                  FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                  FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック");
  SendMessageA(m_hWndLog, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFontLog), TRUE);
  if (oldLog) DeleteObject(oldLog);

  // The list's own font is right at the system DPI; at another one it is
  // replaced by the same font scaled.
  const HFONT oldList = m_hFontList;
  m_hFontList = nullptr;
  const int systemDpi = SystemDpi();
  HFONT listFont = m_hFontListDefault;
  if (m_nDpi != systemDpi) {
    LOGFONTA font = {};
    const HGDIOBJ base = m_hFontListDefault ? static_cast<HGDIOBJ>(m_hFontListDefault)
                                            : GetStockObject(DEFAULT_GUI_FONT);
    if (GetObjectA(base, sizeof font, &font) == sizeof font) {
      font.lfHeight = Layout::Rescale(font.lfHeight, m_nDpi, systemDpi);
      m_hFontList = CreateFontIndirectA(&font);
      if (m_hFontList) listFont = m_hFontList;
    }
  }
  if (oldList || m_hFontList) {
    SendMessageA(m_hWndList, WM_SETFONT, reinterpret_cast<WPARAM>(listFont), TRUE);
  }
  if (oldList) DeleteObject(oldList);

  const HICON oldSmall = m_hIconSmall;
  const HICON oldBig = m_hIconBig;
  m_hIconSmall = LoadIconOfSize(m_hInstance, Layout::ForDpi(kSmallIcon, m_nDpi));
  m_hIconBig = LoadIconOfSize(m_hInstance, Layout::ForDpi(kBigIcon, m_nDpi));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIconSmall));
  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconBig));
  if (oldSmall) DestroyIcon(oldSmall);
  if (oldBig) DestroyIcon(oldBig);
}

void CMainWnd::FitSizeToDpi(const StartPlacement& made) {
  if (made.width == kUseDefault || made.height == kUseDefault || m_nDpi == made.dpi) return;
  const StartPlacement fitted = PlacementAtDpi(made, m_nDpi);
  SetWindowPos(m_hWnd, nullptr, 0, 0, fitted.width, fitted.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainWnd::OnDpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  if (m_bDragging) {
    DrawDragBand();
    m_bDragging = 0;
    ReleaseCapture();
  }
  const int old = m_nDpi;
  m_nDpi = dpi;
  // Columns keep their share of the list, whoever set their widths.
  for (int column = 0; column < 2; ++column) {
    const int width = static_cast<int>(SendMessageA(m_hWndList, LVM_GETCOLUMNWIDTH, column, 0));
    SendMessageA(m_hWndList, LVM_SETCOLUMNWIDTH, column,
                 MAKELPARAM(Layout::Rescale(width, dpi, old), 0));
  }
  ApplyDpiResources();
  SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // Laid out again even when the size stayed, since the bar and gaps did not.
  RECT client;
  GetClientRect(m_hWnd, &client);
  OnSize(IsIconic(m_hWnd) ? SIZE_MINIMIZED : SIZE_RESTORED, client.right, client.bottom);
}
