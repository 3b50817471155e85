#include "app/MainWnd.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <climits>

#include "app/Dpi.h"
#include "app/core/LogText.h"
#include "app/resource.h"
#include "foundation/ChangeWatch.h"

namespace {

// The one main-window object, for the window procedure.
CMainWnd* g_pMainWnd = nullptr;

const COLORREF kBackgroundColour = RGB(212, 208, 200);
const COLORREF kLogColour = RGB(255, 255, 255);

void CopyDocument(const CDocument& from, CDocument* to) {
  to->m_strPath = from.m_strPath;
  to->m_strDirectory = from.m_strDirectory;
  to->m_nModified = from.m_nModified;
  to->m_aItems = from.m_aItems;
  to->m_strMessage = from.m_strMessage;
  to->m_nPathMode = from.m_nPathMode;
  to->m_nDirectiveMode = from.m_nDirectiveMode;
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_pMainWnd) return 0;
  return g_pMainWnd->WindowProc(hWnd, message, wParam, lParam);
}

CMainWnd::CMainWnd(HINSTANCE hInstance, HWND hWndParent, const CDocument& doc)
    : m_hInstance(hInstance), m_hWndParent(hWndParent) {
  CopyDocument(doc, &m_doc);
  g_pMainWnd = this;
}

CMainWnd::~CMainWnd() {
  if (g_pMainWnd == this) g_pMainWnd = nullptr;
  delete m_pWatch;
  DeleteGdiObject(&m_hFontLog);
  DeleteGdiObject(&m_hFontList);
  DeleteGdiObject(&m_hbrLog);
  DeleteGdiObject(&m_hbrBackground);
  DestroyIconHandle(&m_hIconSmall);
  DestroyIconHandle(&m_hIconBig);
}

int CMainWnd::Run(const char* className) {
  if (Create(className)) MessageLoop();
  return 0;
}

bool CMainWnd::Create(const char* className) {
  if (!m_hInstance) return false;
  LoadSettings();
  m_hbrBackground = CreateSolidBrush(kBackgroundColour);

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = m_hInstance;
  wc.hIcon = LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDI_TOVI));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = m_hbrBackground;
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
  wc.lpszClassName = className;
  if (!RegisterClassExA(&wc)) return false;

  // Most windows open on a monitor at the system DPI; one that does not is
  // resized once it knows its own.
  const StartPlacement at = PlacementAtDpi(m_startPlacement, SystemDpi());
  if (!CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW, at.x, at.y, at.width,
                       at.height, m_hWndParent, nullptr, m_hInstance, nullptr)) {
    return false;
  }
  FitSizeToDpi(at);
  ShowWindow(m_hWnd, at.showCmd);
  m_hAccelerators = LoadAcceleratorsA(m_hInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  return true;
}

void CMainWnd::MessageLoop() {
  MSG msg;
  for (;;) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      WaitMessage();
      continue;
    }
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (!TranslateAcceleratorA(m_hWnd, m_hAccelerators, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

LRESULT CMainWnd::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(hWnd);
      break;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      break;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      break;
    case WM_CONTEXTMENU:
      // A keyboard request carries no position: lParam is -1.
      if (OnContextMenu(reinterpret_cast<HWND>(wParam), lParam == -1)) return 0;
      break;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      break;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0);
      break;
    case WM_CLOSE:
      if (!OnClose()) return 0;
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      // A read-only edit asks as a static control; answering keeps it white.
      if (reinterpret_cast<HWND>(lParam) == m_hWndLog) {
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), m_hWndLog);
      }
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_LBUTTONDOWN:
      OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_LBUTTONUP:
      OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case kLogUpdateMessage:
      OnLogUpdate();
      return 0;
    case WM_TIMER:
      if (wParam == kAutoConvertTimer) {
        OnAutoConvertTimer();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

void CMainWnd::OnCreate(HWND hWnd) {
  m_hWnd = hWnd;
  m_nDpi = WindowDpi(hWnd);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);

  RECT client;
  GetClientRect(hWnd, &client);
  const int height = Layout::SplitPosition(client.bottom, m_settings.m_dSplitRate);
  CreateItemList(client, height);
  if (!m_doc.m_strPath.IsEmpty() && m_doc.GetItemCount() > 0) FillItemList();
  CreateLogPane(client, height);
  SubclassPanes();
  DragAcceptFiles(hWnd, TRUE);

  m_hbrLog = CreateSolidBrush(kLogColour);
  ApplyDpiResources();

  UpdateTitle();
  m_hMenuContext = LoadMenuA(m_hInstance, MAKEINTRESOURCEA(IDR_CONTEXTMENU));
  m_hMenuSingle = GetSubMenu(m_hMenuContext, 0);
  m_hMenuPlural = GetSubMenu(m_hMenuContext, 1);
  RebuildHistoryMenu();
}

void CMainWnd::CreateItemList(const RECT& client, int height) {
  const int inset = Layout::ForDpi(Layout::kListInset, m_nDpi);
  m_hWndList = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT,
                               inset, inset, client.right - 2 * inset, height, m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ITEMLIST)),
                               m_hInstance, nullptr);
  SendMessageA(m_hWndList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
               LVS_EX_FULLROWSELECT);
  m_hFontListDefault = reinterpret_cast<HFONT>(SendMessageA(m_hWndList, WM_GETFONT, 0, 0));
  const char* const titles[] = {"変換元ファイルのパス", "変換後出力ファイルのパス"};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = Layout::ColumnWidth(client.left, client.right, m_nDpi);
    column.pszText = const_cast<char*>(titles[i]);
    column.iSubItem = i;
    SendMessageA(m_hWndList, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void CMainWnd::CreateLogPane(const RECT& client, int height) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                      ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY | ES_WANTRETURN;
  const int top = height + Layout::ForDpi(Layout::kLogOffset, m_nDpi);
  m_hWndLog = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", style, 0, top, client.right,
                              client.bottom - top, m_hWnd, nullptr, m_hInstance, nullptr);
  // The default limit (about 32 K characters) would cut a long run's log.
  SendMessageA(m_hWndLog, EM_SETLIMITTEXT, 0, 0);
}

void CMainWnd::FillItemList() {
  for (int i = 0; i < m_doc.GetItemCount(); ++i) {
    const CItem& source = m_doc.GetItem(i);
    LVITEMA row = {};
    row.mask = LVIF_TEXT;
    row.iItem = i;
    row.pszText = const_cast<char*>(source.m_strSource.GetText());
    const int index = static_cast<int>(
        SendMessageA(m_hWndList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    row.iSubItem = 1;
    row.pszText = const_cast<char*>(source.m_strDestination.GetText());
    SendMessageA(m_hWndList, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&row));
  }
}

void CMainWnd::OnSize(UINT sizeType, int width, int height) {
  if (sizeType == SIZE_MINIMIZED) return;
  const Layout::MainLayout layout =
      Layout::ComputeMainLayout(width, height, m_settings.m_dSplitRate, m_nDpi);
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (m_hWndList) {
    SetWindowPos(m_hWndList, nullptr, layout.list.x, layout.list.y, layout.list.width,
                 layout.list.height, flags);
  }
  m_rcSplitBar = layout.splitBar;
  if (m_hWndLog) {
    SetWindowPos(m_hWndLog, nullptr, layout.log.x, layout.log.y, layout.log.width,
                 layout.log.height, flags);
  }
  m_nDragMin = layout.dragMin;
  m_nDragMax = layout.dragMax;
}

LRESULT CMainWnd::OnCtlColorStatic(HDC hdc, HWND) {
  SetBkColor(hdc, kLogColour);
  return reinterpret_cast<LRESULT>(m_hbrLog);
}

void CMainWnd::OnDestroy() {
  StopAutoConvert();
  SaveSettings();
  if (m_hMenuContext) DestroyMenu(m_hMenuContext);
  m_hMenuContext = m_hMenuSingle = m_hMenuPlural = nullptr;
  DeleteGdiObject(&m_hbrLog);
  DeleteGdiObject(&m_hbrBackground);
  DeleteGdiObject(&m_hFontLog);
  DeleteGdiObject(&m_hFontList);
  DestroyIconHandle(&m_hIconSmall);
  DestroyIconHandle(&m_hIconBig);
  PostQuitMessage(0);
}

void CMainWnd::AppendLog(const Core::CString& text) {
  // Without memory for the longer log, the pane keeps showing what the text holds.
  if (!AppendTracked(&m_strLog, &m_nLogLength, text.GetText())) return;
  // The pane follows once control is back in the message loop: one update
  // for a whole conversion run, which runs inside a single command and lets
  // the window repaint only when it is over anyway. Updating the pane per
  // call costs a scroll-bar redraw each time (tens of milliseconds under
  // Wine), so a 10,000-item run would take many minutes.
  if (m_hWnd && !m_bLogUpdatePending) {
    m_bLogUpdatePending = PostMessageA(m_hWnd, kLogUpdateMessage, 0, 0) ? 1 : 0;
  }
}

void CMainWnd::OnLogUpdate() {
  m_bLogUpdatePending = 0;
  if (!m_hWndLog || m_nLogShown >= m_nLogLength) return;
  // Appending at the end shows the same text as replacing the whole of it,
  // at a cost that does not grow with the log. Positions past the end are
  // clamped to it.
  SendMessageA(m_hWndLog, EM_SETSEL, INT_MAX, INT_MAX);
  SendMessageA(m_hWndLog, EM_REPLACESEL, FALSE,
               reinterpret_cast<LPARAM>(m_strLog.GetText() + m_nLogShown));
  m_nLogShown = m_nLogLength;
  const LRESULT lines = SendMessageA(m_hWndLog, EM_GETLINECOUNT, 0, 0);
  SendMessageA(m_hWndLog, EM_LINESCROLL, 0, lines);
}

void CMainWnd::ClearLog() {
  m_strLog.Empty();
  m_nLogLength = 0;
  m_nLogShown = 0;
  if (m_hWndLog) SetWindowTextA(m_hWndLog, "");
}
