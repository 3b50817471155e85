// The main window for real: item list, layout, split bar, log pane.
#include "tests/app/WindowTestSupport.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/resource.h"

namespace WindowTest {
namespace {

using MainWnd = MainWndTest;

void ExpectRect(const RECT& rc, int left, int top, int width, int height) {
  EXPECT_EQ(left, rc.left);
  EXPECT_EQ(top, rc.top);
  EXPECT_EQ(width, rc.right - rc.left);
  EXPECT_EQ(height, rc.bottom - rc.top);
}

int ColumnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
}

std::string ColumnTitle(HWND list, int column) {
  char buffer[100] = "";
  LVCOLUMNA info = {};
  info.mask = LVCF_TEXT;
  info.pszText = buffer;
  info.cchTextMax = sizeof buffer;
  SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
  return buffer;
}

TEST_F(MainWnd, ListShowsTheDocumentsItemsInTwoColumns) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 3));
  ASSERT_TRUE(IsWindow(wnd.m_hWndList));
  EXPECT_EQ(IDC_ITEMLIST, GetDlgCtrlID(wnd.m_hWndList));
  EXPECT_EQ("変換元ファイルのパス", ColumnTitle(wnd.m_hWndList, 0));
  EXPECT_EQ("変換後出力ファイルのパス", ColumnTitle(wnd.m_hWndList, 1));
  EXPECT_EQ(LVS_REPORT, GetWindowLongA(wnd.m_hWndList, GWL_STYLE) & LVS_TYPEMASK);
  EXPECT_TRUE(SendMessageA(wnd.m_hWndList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
              LVS_EX_FULLROWSELECT);

  ASSERT_EQ(3, SendMessageA(wnd.m_hWndList, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(wnd.m_doc.GetItem(i).m_strSource.GetText(), ListText(wnd.m_hWndList, i, 0));
    EXPECT_EQ(wnd.m_doc.GetItem(i).m_strDestination.GetText(), ListText(wnd.m_hWndList, i, 1));
  }
  EXPECT_EQ(".\\src\\ファイル2.c", ListText(wnd.m_hWndList, 2, 0));
}

TEST_F(MainWnd, UntitledDocumentStartsWithAnEmptyList) {
  CMainWnd& wnd = Open(MakeDocument("", 2));
  EXPECT_EQ(0, SendMessageA(wnd.m_hWndList, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ(2, wnd.m_doc.GetItemCount());
}

TEST_F(MainWnd, ConstructorCopiesTheDocument) {
  CDocument doc = MakeDocument("C:\\proj\\p.tvx", 1);
  doc.m_strDirectory = "C:\\proj\\";
  doc.m_nModified = 1;
  doc.m_strMessage = "message";
  doc.m_nPathMode = 1;
  doc.m_nDirectiveMode = 2;
  CMainWnd wnd(GetModuleHandleA(nullptr), GetDesktopWindow(), doc);
  EXPECT_STREQ("C:\\proj\\p.tvx", wnd.m_doc.m_strPath.GetText());
  EXPECT_STREQ("C:\\proj\\", wnd.m_doc.m_strDirectory.GetText());
  EXPECT_EQ(1, wnd.m_doc.m_nModified);
  EXPECT_EQ(1, wnd.m_doc.GetItemCount());
  EXPECT_STREQ("message", wnd.m_doc.m_strMessage.GetText());
  EXPECT_EQ(1, wnd.m_doc.m_nPathMode);
  EXPECT_EQ(2, wnd.m_doc.m_nDirectiveMode);
  EXPECT_EQ(3, wnd.m_settings.m_nHistoryCount);
  EXPECT_EQ(1, wnd.m_settings.m_bRestoreWindowState);
}

TEST_F(MainWnd, ChildrenFollowTheSplitForA400PixelClientArea) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  RECT client;
  GetClientRect(wnd.m_hWnd, &client);
  const int createdWidth = ColumnWidth(wnd.m_hWndList, 0);
  EXPECT_EQ((client.right - client.left) / 2 - 5, createdWidth);
  EXPECT_EQ(createdWidth, ColumnWidth(wnd.m_hWndList, 1));

  SetClientSize(wnd.m_hWnd, 600, 400);
  Pump();
  GetClientRect(wnd.m_hWnd, &client);
  ASSERT_EQ(600, client.right);
  ASSERT_EQ(400, client.bottom);
  ExpectRect(ChildRect(wnd.m_hWndList), 1, 1, 598, 200);
  ExpectRect(ChildRect(wnd.m_hWndLog), 0, 205, 600, 195);
  EXPECT_EQ(0, wnd.m_rcSplitBar.left);
  EXPECT_EQ(200, wnd.m_rcSplitBar.top);
  EXPECT_EQ(600, wnd.m_rcSplitBar.right);
  EXPECT_EQ(206, wnd.m_rcSplitBar.bottom);
  EXPECT_EQ(50, wnd.m_nDragMin);
  EXPECT_EQ(350, wnd.m_nDragMax);
  // Column widths are set once, at creation.
  EXPECT_EQ(createdWidth, ColumnWidth(wnd.m_hWndList, 0));

  SetClientSize(wnd.m_hWnd, 700, 301);
  Pump();
  ExpectRect(ChildRect(wnd.m_hWndList), 1, 1, 698, 151);  // 150.5 rounds up
  ExpectRect(ChildRect(wnd.m_hWndLog), 0, 156, 700, 145);
  EXPECT_EQ(251, wnd.m_nDragMax);
}

int FontHeight(HFONT font) {
  LOGFONTA info = {};
  GetObjectA(font, sizeof info, &info);
  return info.lfHeight;
}

// The split bar's rows as the window takes the pointer on them.
int BarThickness(const CMainWnd& wnd) { return wnd.m_rcSplitBar.bottom - wnd.m_rcSplitBar.top; }

// A pixel quantity given at 96 DPI, within a pixel of rounding at `dpi`.
void ExpectScaled(double at96, int dpi, int got) { EXPECT_NEAR(at96 * dpi / 96, got, 0.5); }

// Run at each DPI by tests/app/run-at-dpi: the display's DPI reaches the
// window, which scales its own pixel quantities by it.
TEST_F(MainWnd, PixelQuantitiesFollowTheDisplayDpi) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  const int dpi = ExpectedDpi();
  ASSERT_EQ(dpi, wnd.m_nDpi);
  RECT client;
  GetClientRect(wnd.m_hWnd, &client);
  for (int column = 0; column < 2; ++column) {
    EXPECT_NEAR(client.right / 2 - 5.0 * dpi / 96, ColumnWidth(wnd.m_hWndList, column), 1.0);
  }
  ExpectScaled(13, dpi, FontHeight(wnd.m_hFontLog));
  // The face as the log pane draws it: the size asked for, give or take the
  // pixel the face's own rounding adds.
  const HDC hdc = GetDC(wnd.m_hWndLog);
  const HGDIOBJ old = SelectObject(hdc, wnd.m_hFontLog);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(hdc, &metrics);
  SelectObject(hdc, old);
  ReleaseDC(wnd.m_hWndLog, hdc);
  EXPECT_NEAR(FontHeight(wnd.m_hFontLog), metrics.tmHeight, 1.0);

  SetClientSize(wnd.m_hWnd, 900, 600);
  Pump();
  ExpectScaled(6, dpi, BarThickness(wnd));
  const RECT list = ChildRect(wnd.m_hWndList);
  ExpectScaled(1, dpi, list.left);
  EXPECT_EQ(900 - 2 * list.left, list.right - list.left);
  EXPECT_EQ(300, list.bottom - list.top);  // the rate stays a rate
  ExpectScaled(5, dpi, ChildRect(wnd.m_hWndLog).top - 300);
  ExpectScaled(50, dpi, wnd.m_nDragMin);
}

// Moving to a monitor of another DPI: the suggested rectangle, the layout,
// fonts and columns at the new DPI, the old fonts freed; and back.
TEST_F(MainWnd, DpiChangeMovesTheWindowAndRemakesItsFonts) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  SetClientSize(wnd.m_hWnd, 600, 400);
  Pump();
  const int dpi = wnd.m_nDpi;
  const int twice = 2 * dpi;
  RECT window;
  GetWindowRect(wnd.m_hWnd, &window);
  const HFONT logFont = wnd.m_hFontLog;
  const HFONT listFont = reinterpret_cast<HFONT>(SendMessageA(wnd.m_hWndList, WM_GETFONT, 0, 0));
  const int columns[] = {ColumnWidth(wnd.m_hWndList, 0), ColumnWidth(wnd.m_hWndList, 1) + 7};
  SendMessageA(wnd.m_hWndList, LVM_SETCOLUMNWIDTH, 1, columns[1]);  // as if dragged by the user

  // Larger, but within the screen, which limits a window's size.
  RECT suggested = {20, 30, 20 + (window.right - window.left) * 3 / 2,
                    30 + (window.bottom - window.top) * 3 / 2};
  SendMessageA(wnd.m_hWnd, WM_DPICHANGED, MAKEWPARAM(twice, twice),
               reinterpret_cast<LPARAM>(&suggested));
  Pump();
  RECT now;
  GetWindowRect(wnd.m_hWnd, &now);
  EXPECT_EQ(suggested.left, now.left);
  EXPECT_EQ(suggested.top, now.top);
  EXPECT_EQ(suggested.right, now.right);
  EXPECT_EQ(suggested.bottom, now.bottom);
  RECT client;
  GetClientRect(wnd.m_hWnd, &client);
  ExpectScaled(6, twice, BarThickness(wnd));
  EXPECT_EQ(Layout::SplitPosition(client.bottom, 50.0), wnd.m_rcSplitBar.top);
  ExpectScaled(5, twice, ChildRect(wnd.m_hWndLog).top - wnd.m_rcSplitBar.top);
  ExpectScaled(13, twice, FontHeight(wnd.m_hFontLog));
  EXPECT_EQ(reinterpret_cast<LRESULT>(wnd.m_hFontLog),
            SendMessageA(wnd.m_hWndLog, WM_GETFONT, 0, 0));
  EXPECT_EQ(0u, GetObjectType(logFont));  // freed
  const HFONT scaledList = reinterpret_cast<HFONT>(SendMessageA(wnd.m_hWndList, WM_GETFONT, 0, 0));
  EXPECT_NE(listFont, scaledList);
  EXPECT_NEAR(2.0 * FontHeight(listFont), FontHeight(scaledList), 1.0);
  EXPECT_EQ(2 * columns[0], ColumnWidth(wnd.m_hWndList, 0));
  EXPECT_EQ(2 * columns[1], ColumnWidth(wnd.m_hWndList, 1));

  // Back at the display's DPI: the list's own font again, ours freed.
  SendMessageA(wnd.m_hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&window));
  Pump();
  EXPECT_EQ(listFont, reinterpret_cast<HFONT>(SendMessageA(wnd.m_hWndList, WM_GETFONT, 0, 0)));
  EXPECT_EQ(0u, GetObjectType(scaledList));
  ExpectScaled(13, dpi, FontHeight(wnd.m_hFontLog));
  ExpectScaled(6, dpi, BarThickness(wnd));
  EXPECT_EQ(columns[0], ColumnWidth(wnd.m_hWndList, 0));
  EXPECT_EQ(columns[1], ColumnWidth(wnd.m_hWndList, 1));
}

TEST_F(MainWnd, MinimisingLeavesLayoutAndRateAlone) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  SetClientSize(wnd.m_hWnd, 600, 400);
  Pump();
  ShowWindow(wnd.m_hWnd, SW_MINIMIZE);
  Pump();
  EXPECT_TRUE(IsIconic(wnd.m_hWnd));
  // Also the message itself, whatever the platform does on minimising.
  SendMessageA(wnd.m_hWnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
  ExpectRect(ChildRect(wnd.m_hWndList), 1, 1, 598, 200);
  EXPECT_EQ(200, wnd.m_rcSplitBar.top);
  EXPECT_EQ(350, wnd.m_nDragMax);
  EXPECT_DOUBLE_EQ(50.0, wnd.m_settings.m_dSplitRate);
}

TEST_F(MainWnd, SplitBarDragClampsAndSetsTheRateOnRelease) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  SetClientSize(wnd.m_hWnd, 600, 400);
  Pump();

  // Pointing at the bar shows the split cursor.
  const HCURSOR split = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_SPLIT));
  ASSERT_NE(nullptr, split);
  Post(WM_MOUSEMOVE, 0, 300, 203);
  EXPECT_EQ(split, GetCursor());

  // A press beside the bar, and a release without a press, do nothing.
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 300, 199);
  EXPECT_EQ(0, wnd.m_bDragging);
  Post(WM_LBUTTONUP, 0, 300, 120);
  EXPECT_DOUBLE_EQ(50.0, wnd.m_settings.m_dSplitRate);

  Post(WM_LBUTTONDOWN, MK_LBUTTON, 300, 200);
  EXPECT_EQ(1, wnd.m_bDragging);
  EXPECT_EQ(wnd.m_hWnd, GetCapture());
  Post(WM_MOUSEMOVE, MK_LBUTTON, 300, 10);
  EXPECT_EQ(50, wnd.m_rcSplitBar.top);
  EXPECT_EQ(56, wnd.m_rcSplitBar.bottom);
  Post(WM_MOUSEMOVE, MK_LBUTTON, 300, -20);  // above the window: negative y
  EXPECT_EQ(50, wnd.m_rcSplitBar.top);
  Post(WM_MOUSEMOVE, MK_LBUTTON, 300, 395);
  EXPECT_EQ(350, wnd.m_rcSplitBar.top);
  // The layout changes only when the button goes up.
  ExpectRect(ChildRect(wnd.m_hWndList), 1, 1, 598, 200);

  Post(WM_LBUTTONUP, 0, 300, 120);
  EXPECT_EQ(0, wnd.m_bDragging);
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_DOUBLE_EQ(30.0, wnd.m_settings.m_dSplitRate);
  ExpectRect(ChildRect(wnd.m_hWndList), 1, 1, 598, 120);
  ExpectRect(ChildRect(wnd.m_hWndLog), 0, 125, 600, 275);
  EXPECT_EQ(120, wnd.m_rcSplitBar.top);

  Close();
  EXPECT_EQ("30", ReadIni()["Window/SplitBarRate"]);
}

TEST_F(MainWnd, TheWholeBarTakesThePointer) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  SetClientSize(wnd.m_hWnd, 600, 400);
  Pump();
  // The bar covers rows 200 to 205: the list's last row and the log pane's
  // first one among them. Rows beside it belong to the panes.
  const struct {
    int y;
    HWND owner;
  } rows[] = {{199, wnd.m_hWndList}, {200, wnd.m_hWnd}, {201, wnd.m_hWnd},
              {204, wnd.m_hWnd},     {205, wnd.m_hWnd}, {206, wnd.m_hWndLog}};
  for (const auto& row : rows) {
    for (int x : {3, 300, 590}) {
      SCOPED_TRACE(std::to_string(x) + "," + std::to_string(row.y));
      POINT at = {x, row.y};
      ClientToScreen(wnd.m_hWnd, &at);
      EXPECT_EQ(row.owner, WindowFromPoint(at));
    }
  }
  // After a drag the bar's new rows are the ones that count.
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 300, 205);
  Post(WM_LBUTTONUP, 0, 300, 125);
  POINT at = {300, 120};
  ClientToScreen(wnd.m_hWnd, &at);
  EXPECT_EQ(wnd.m_hWnd, WindowFromPoint(at));
}

TEST_F(MainWnd, ListHasTheFocusAndTabMovesBetweenThePanes) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 2));
  EXPECT_EQ(wnd.m_hWndList, GetFocus());
  // Shift+Tab goes the other way round, which with two panes is the same.
  for (HWND next : {wnd.m_hWndLog, wnd.m_hWndList, wnd.m_hWndLog, wnd.m_hWndList}) {
    SendMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    SendMessageA(GetFocus(), WM_CHAR, '\t', 1);
    SendMessageA(GetFocus(), WM_KEYUP, VK_TAB, 0xC0000001);
    EXPECT_EQ(next, GetFocus());
  }
  EXPECT_EQ("", WindowText(wnd.m_hWndLog));  // the tab went nowhere as text
}

TEST_F(MainWnd, ReleaseBelowTheLimitStopsAtIt) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  SetClientSize(wnd.m_hWnd, 600, 400);
  Pump();
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 10, 205);
  Post(WM_LBUTTONUP, 0, 10, 399);
  // The bar keeps the press's offset: top 200 + (350 - 205).
  EXPECT_EQ(345, wnd.m_rcSplitBar.top);
  EXPECT_DOUBLE_EQ(86.25, wnd.m_settings.m_dSplitRate);
}

TEST_F(MainWnd, LogPaneIsAWhiteReadOnlyEditWithItsFont) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  const LONG style = GetWindowLongA(wnd.m_hWndLog, GWL_STYLE);
  const LONG want = WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                    ES_READONLY | ES_WANTRETURN;
  EXPECT_EQ(want, style & want);
  EXPECT_TRUE(GetWindowLongA(wnd.m_hWndLog, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(reinterpret_cast<LRESULT>(wnd.m_hFontLog),
            SendMessageA(wnd.m_hWndLog, WM_GETFONT, 0, 0));
  LOGFONTA font = {};
  GetObjectA(wnd.m_hFontLog, sizeof font, &font);
  EXPECT_EQ(13, font.lfHeight);
  EXPECT_EQ(SHIFTJIS_CHARSET, font.lfCharSet);
  EXPECT_STREQ("ＭＳ ゴシック", font.lfFaceName);

  // What the pane itself gets when it asks for its colours.
  const HDC hdc = GetDC(wnd.m_hWndLog);
  SetBkColor(hdc, RGB(1, 2, 3));
  const LRESULT brush = SendMessageA(wnd.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                     reinterpret_cast<LPARAM>(wnd.m_hWndLog));
  EXPECT_EQ(reinterpret_cast<LRESULT>(wnd.m_hbrLog), brush);
  EXPECT_EQ(RGB(255, 255, 255), GetBkColor(hdc));
  ReleaseDC(wnd.m_hWndLog, hdc);
  LOGBRUSH info = {};
  GetObjectA(wnd.m_hbrLog, sizeof info, &info);
  EXPECT_EQ(RGB(255, 255, 255), info.lbColor);

  // And on screen: the pane's inside is painted white.
  RedrawWindow(wnd.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  const HDC screen = GetDC(wnd.m_hWndLog);
  EXPECT_EQ(RGB(255, 255, 255), GetPixel(screen, 20, 20));
  ReleaseDC(wnd.m_hWndLog, screen);
}

TEST_F(MainWnd, AppendLogShowsTheWholeLogBeyondTheDefaultLimit) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  std::string want;
  const Core::CString opening("変換処理中...\r\n");
  wnd.AppendLog(opening);
  want += opening.GetText();
  Pump();
  EXPECT_EQ(want, WindowText(wnd.m_hWndLog));
  for (int i = 0; i < 2000; ++i) {
    Core::CString line;
    line.Format("C:\\proj\\src\\ファイル%04d.c  →  C:\\proj\\out\\ファイル%04d.c\r\n", i, i);
    wnd.AppendLog(line);
    want += line.GetText();
    if (i % 500 == 0) Pump();  // some updates come singly, some in bulk
  }
  Pump();
  ASSERT_GT(want.size(), 100000u);
  EXPECT_EQ(want, wnd.m_strLog.GetText());
  EXPECT_EQ(static_cast<int>(want.size()), wnd.m_nLogLength);
  EXPECT_EQ(want, WindowText(wnd.m_hWndLog));
  EXPECT_EQ(2002, SendMessageA(wnd.m_hWndLog, EM_GETLINECOUNT, 0, 0));
  // Scrolled to the end.
  EXPECT_GT(SendMessageA(wnd.m_hWndLog, EM_GETFIRSTVISIBLELINE, 0, 0), 1900);

  wnd.ClearLog();
  EXPECT_EQ("", WindowText(wnd.m_hWndLog));
  wnd.AppendLog("x\r\n");
  Pump();
  EXPECT_EQ("x\r\n", WindowText(wnd.m_hWndLog));
  EXPECT_STREQ("x\r\n", wnd.m_strLog.GetText());
}

TEST_F(MainWnd, TextAppendedBeforeAClearIsNotShownAfterIt) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  wnd.AppendLog("old\r\n");
  wnd.ClearLog();
  wnd.AppendLog("new\r\n");
  Pump();
  EXPECT_EQ("new\r\n", WindowText(wnd.m_hWndLog));
}

// A run's worth of log lines: the appends and the one pane update that
// follows. Timings are printed, not asserted; later blocks must not be
// markedly slower than the first.
TEST_F(MainWnd, LogOfA10000ItemRunReachesThePane) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  constexpr int kItems = 10000;
  constexpr int kBlock = 2500;
  using Clock = std::chrono::steady_clock;
  auto start = Clock::now();
  wnd.AppendLog("変換処理中...\r\n");
  for (int i = 0; i < kItems; ++i) {
    Core::CString line;
    line.Format("C:\\proj\\src\\item%05d.c  →  C:\\proj\\out\\item%05d.c\r\n", i, i);
    wnd.AppendLog(line);
    wnd.AppendLog("    変換が完了しました.\r\n");
    if ((i + 1) % kBlock == 0) {
      std::printf("items %5d-%5d appended: %.1f ms\n", i + 1 - kBlock, i,
                  std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      start = Clock::now();
    }
  }
  Pump();
  std::printf("pane update: %.1f ms for %d bytes\n",
              std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
              wnd.m_nLogLength);
  EXPECT_EQ(2 * kItems + 2, SendMessageA(wnd.m_hWndLog, EM_GETLINECOUNT, 0, 0));
  EXPECT_EQ(std::string(wnd.m_strLog.GetText()), WindowText(wnd.m_hWndLog));
}

}  // namespace
}  // namespace WindowTest
