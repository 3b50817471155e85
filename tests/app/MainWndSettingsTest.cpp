// tovi.ini as the window reads and leaves it, the title, and the history
// entries of the File menu.
#include "tests/app/WindowTestSupport.h"
#include "tests/support/TempDir.h"
#include "app/resource.h"

namespace WindowTest {
namespace {

using MainWndSettings = MainWndTest;

std::string MenuText(HMENU menu, int position) {
  char buffer[300] = "";
  GetMenuStringA(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

HMENU FileMenu(HWND hWnd) { return GetSubMenu(GetMenu(hWnd), 0); }

std::string WholeWindowText(HWND hWnd) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hWnd)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(hWnd, &text[0], static_cast<int>(text.size()))));
  return text;
}

TEST_F(MainWndSettings, MainMenuHasTheFourJapaneseMenus) {
  CMainWnd& wnd = Open(MakeDocument("", 0));
  const HMENU bar = GetMenu(wnd.m_hWnd);
  ASSERT_EQ(4, GetMenuItemCount(bar));
  EXPECT_EQ("ファイル(&F)", MenuText(bar, 0));
  EXPECT_EQ("編集(&E)", MenuText(bar, 1));
  EXPECT_EQ("変換(&C)", MenuText(bar, 2));
  EXPECT_EQ("その他(&H)", MenuText(bar, 3));
  const HMENU file = FileMenu(wnd.m_hWnd);
  ASSERT_EQ(6, GetMenuItemCount(file));  // no history yet
  EXPECT_EQ("プロジェクト新規作成(&N)\tCtrl+N", MenuText(file, 0));
  EXPECT_EQ(ID_FILE_EXIT, static_cast<int>(GetMenuItemID(file, 5)));
  ASSERT_NE(nullptr, wnd.m_hMenuSingle);
  EXPECT_EQ(5, GetMenuItemCount(wnd.m_hMenuSingle));
  EXPECT_EQ(2, GetMenuItemCount(wnd.m_hMenuPlural));
  EXPECT_EQ("選択したアイテムを変換(&P)", MenuText(wnd.m_hMenuPlural, 0));
}

TEST_F(MainWndSettings, TitleInItsFourCases) {
  CMainWnd& wnd = Open(MakeDocument("", 0));
  EXPECT_EQ("Tovi  (無題)", WindowText(wnd.m_hWnd));

  wnd.m_doc.m_nModified = 1;
  wnd.UpdateTitle();
  EXPECT_EQ("Tovi  (無題) (更新)", WindowText(wnd.m_hWnd));
  wnd.UpdateTitle();  // never twice
  EXPECT_EQ("Tovi  (無題) (更新)", WindowText(wnd.m_hWnd));

  wnd.m_doc.m_strPath = "C:\\work\\projects\\alpha\\beta\\gamma\\delta\\sample.tvx";
  wnd.m_doc.m_nModified = 0;
  wnd.UpdateTitle();
  EXPECT_EQ("Tovi  C:\\work\\....\\gamma\\delta\\sample.tvx", WindowText(wnd.m_hWnd));

  wnd.m_doc.m_nModified = 1;
  wnd.UpdateTitle();
  EXPECT_EQ("Tovi  C:\\work\\....\\gamma\\delta\\sample.tvx (更新)", WindowText(wnd.m_hWnd));

  SetWindowTextA(wnd.m_hWnd, "Tovi");  // shorter than the mark: left alone
  wnd.UpdateTitle();
  EXPECT_EQ("Tovi", WindowText(wnd.m_hWnd));

  // A folder ending in ソ (second byte 0x5C) stays one segment.
  wnd.m_doc.m_strPath =
      "Y:\\\x83\x5c\\c\\\x83\x66\x81\x5b\x83\x5e\\d\\e\\long_file_name_for_the_tests.tvx";
  wnd.m_doc.m_nModified = 0;
  wnd.UpdateTitle();
  EXPECT_EQ("Tovi  Y:\\\x83\x5c\\....\\d\\e\\long_file_name_for_the_tests.tvx",
            WindowText(wnd.m_hWnd));

  // A title longer than any fixed buffer gets its mark after the whole text.
  const std::string longPath = "C:\\" + std::string(600, 'p') + ".tvx";
  wnd.m_doc.m_strPath = longPath.c_str();
  wnd.UpdateTitle();
  wnd.m_doc.m_nModified = 1;
  wnd.UpdateTitle();
  const std::string title = WholeWindowText(wnd.m_hWnd);
  EXPECT_EQ("Tovi  " + longPath + " (更新)", title);
}

TEST_F(MainWndSettings, StartUpTitleShowsTheProjectPath) {
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  EXPECT_EQ("Tovi  C:\\proj\\p.tvx", WindowText(wnd.m_hWnd));
}

TEST_F(MainWndSettings, HistoryEntriesFollowTheOpens) {
  CMainWnd& wnd = Open(MakeDocument("", 0));
  const char* const opened[] = {"C:\\a.tvx", "C:\\b.tvx", "C:\\c.tvx", "C:\\d.tvx", "C:\\b.tvx"};
  for (const char* path : opened) {
    wnd.AddToHistory(path);
    wnd.RebuildHistoryMenu();
  }
  const HMENU file = FileMenu(wnd.m_hWnd);
  ASSERT_EQ(10, GetMenuItemCount(file));
  EXPECT_TRUE(GetMenuState(file, 6, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ("&1 C:\\b.tvx", MenuText(file, 7));
  EXPECT_EQ("&2 C:\\d.tvx", MenuText(file, 8));
  EXPECT_EQ("&3 C:\\c.tvx", MenuText(file, 9));
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(static_cast<UINT>(ID_HISTORY_FIRST + k), GetMenuItemID(file, 7 + k));

  // Rebuilding again replaces the entries rather than adding more.
  wnd.RebuildHistoryMenu();
  EXPECT_EQ(10, GetMenuItemCount(file));

  Close();
  std::map<std::string, std::string> ini = ReadIni();
  EXPECT_EQ("C:\\b.tvx", ini["FileHist/Path_0"]);
  EXPECT_EQ("C:\\d.tvx", ini["FileHist/Path_1"]);
  EXPECT_EQ("C:\\c.tvx", ini["FileHist/Path_2"]);
}

TEST_F(MainWndSettings, StoredHistoryAppearsAtCreation) {
  WriteIni(
      "[FileHist]\r\nSize=2\r\nPath_0=C:\\work\\projects\\alpha\\beta\\gamma\\delta\\sample.tvx\r\n"
      "Path_1=C:\\q.tvx\r\nPath_2=C:\\beyond.tvx\r\n");
  CMainWnd& wnd = Open(MakeDocument("", 0));
  EXPECT_EQ(2, wnd.m_settings.m_nHistoryCount);
  const HMENU file = FileMenu(wnd.m_hWnd);
  ASSERT_EQ(9, GetMenuItemCount(file));
  EXPECT_EQ("&1 C:\\work\\....\\gamma\\delta\\sample.tvx", MenuText(file, 7));
  EXPECT_EQ("&2 C:\\q.tvx", MenuText(file, 8));
  Close();
  std::map<std::string, std::string> ini = ReadIni();
  EXPECT_EQ("2", ini["FileHist/Size"]);
  EXPECT_EQ("C:\\beyond.tvx", ini["FileHist/Path_2"]);  // beyond the count: untouched
}

// Stored entries of any length are read whole; a trail byte 0x5C in a
// folder name never cuts the menu label.
TEST_F(MainWndSettings, LongAndJapaneseHistoryEntriesStayWhole) {
  const std::string longPath = "C:\\" + std::string(600, 'h') + ".tvx";
  WriteIni(
      "[FileHist]\r\nSize=2\r\nPath_0=" + longPath +
      "\r\nPath_1=Y:\\\x95\x5c\\\x94\x5c\\\x97\x5c\\x\\a_long_file_name_for_the_tests.tvx\r\n");
  CMainWnd& wnd = Open(MakeDocument("", 0));
  ASSERT_EQ(2, wnd.m_settings.m_aHistory.GetSize());
  EXPECT_EQ(longPath, wnd.m_settings.m_aHistory[0].GetText());
  EXPECT_EQ("&2 Y:\\\x95\x5c\\....\\\x97\x5c\\x\\a_long_file_name_for_the_tests.tvx",
            MenuText(FileMenu(wnd.m_hWnd), 8));
}

TEST_F(MainWndSettings, FirstShutDownWritesEveryKey) {
  CMainWnd& wnd = Open(MakeDocument("", 0));
  SetWindowPos(wnd.m_hWnd, nullptr, 30, 40, 500, 400, SWP_NOZORDER);
  Pump();
  EXPECT_STREQ(IniPath().c_str(), wnd.m_strIniPath.GetText());
  Close();
  EXPECT_TRUE(m_bQuit);
  std::map<std::string, std::string> ini = ReadIni();
  EXPECT_EQ("1", ini["Window/RestoreWindowState"]);
  EXPECT_EQ("500", ini["Window/Wnd_Width"]);
  EXPECT_EQ("400", ini["Window/Wnd_Height"]);
  EXPECT_EQ("96", ini["Window/Dpi"]);
  EXPECT_EQ("1", ini["Window/ShowCmd"]);
  EXPECT_EQ("30", ini["Window/Pos_X"]);
  EXPECT_EQ("40", ini["Window/Pos_Y"]);
  EXPECT_EQ("50", ini["Window/SplitBarRate"]);
  EXPECT_EQ("3", ini["FileHist/Size"]);
  EXPECT_EQ(0u, ini.count("FileHist/Path_0"));  // never-set entries write no key
  EXPECT_EQ(9u, ini.size());
  // Released at shut-down.
  EXPECT_EQ(nullptr, wnd.m_hbrLog);
  EXPECT_EQ(nullptr, wnd.m_hFontLog);
  EXPECT_EQ(nullptr, wnd.m_hMenuContext);
}

TEST_F(MainWndSettings, StoredPlacementAndSplitAreRestored) {
  WriteIni(
      "[Window]\r\nRestoreWindowState=1\r\nPos_X=100\r\nPos_Y=80\r\nWnd_Width=640\r\nWnd_Height="
      "480\r\n"
      "ShowCmd=1\r\nSplitBarRate=30\r\n");
  CMainWnd& wnd = Open(MakeDocument("C:\\proj\\p.tvx", 1));
  RECT rc;
  GetWindowRect(wnd.m_hWnd, &rc);
  EXPECT_EQ(100, rc.left);
  EXPECT_EQ(80, rc.top);
  EXPECT_EQ(640, rc.right - rc.left);
  EXPECT_EQ(480, rc.bottom - rc.top);
  EXPECT_DOUBLE_EQ(30.0, wnd.m_settings.m_dSplitRate);
  RECT client;
  GetClientRect(wnd.m_hWnd, &client);
  EXPECT_EQ((client.bottom * 30 + 50) / 100, ChildRect(wnd.m_hWndList).bottom - 1);
}

TEST_F(MainWndSettings, MaximisedWindowStoresShowCmd3AndKeepsTheSizes) {
  WriteIni("[Window]\r\nPos_X=100\r\nPos_Y=80\r\nWnd_Width=640\r\nWnd_Height=480\r\n");
  CMainWnd& wnd = Open(MakeDocument("", 0));
  ShowWindow(wnd.m_hWnd, SW_MAXIMIZE);
  Pump();
  ASSERT_TRUE(IsZoomed(wnd.m_hWnd));
  Close();
  std::map<std::string, std::string> ini = ReadIni();
  EXPECT_EQ("3", ini["Window/ShowCmd"]);
  EXPECT_EQ("640", ini["Window/Wnd_Width"]);
  EXPECT_EQ("480", ini["Window/Wnd_Height"]);
  EXPECT_EQ("100", ini["Window/Pos_X"]);
  EXPECT_EQ("80", ini["Window/Pos_Y"]);

  // The next start opens maximised.
  m_wnd.reset();
  UnregisterClassA("ToviTest", GetModuleHandleA(nullptr));
  CMainWnd& next = Open(MakeDocument("", 0));
  EXPECT_TRUE(IsZoomed(next.m_hWnd));
}

TEST_F(MainWndSettings, WindowOffTheLeftEdgeStoresZero) {
  CMainWnd& wnd = Open(MakeDocument("", 0));
  SetWindowPos(wnd.m_hWnd, nullptr, -60, -10, 500, 400, SWP_NOZORDER);
  Pump();
  Close();
  std::map<std::string, std::string> ini = ReadIni();
  EXPECT_EQ("0", ini["Window/Pos_X"]);
  EXPECT_EQ("0", ini["Window/Pos_Y"]);
  EXPECT_EQ("500", ini["Window/Wnd_Width"]);
}

TEST_F(MainWndSettings, RestoreOffIgnoresTheStoredStateButWritesTheCurrentOne) {
  WriteIni(
      "[Window]\r\nRestoreWindowState=0\r\nPos_X=100\r\nPos_Y=80\r\nWnd_Width=640\r\nWnd_Height="
      "480\r\n"
      "ShowCmd=3\r\nSplitBarRate=30\r\n");
  CMainWnd& wnd = Open(MakeDocument("", 0));
  EXPECT_FALSE(IsZoomed(wnd.m_hWnd));
  EXPECT_DOUBLE_EQ(50.0, wnd.m_settings.m_dSplitRate);
  SetWindowPos(wnd.m_hWnd, nullptr, 10, 20, 300, 250, SWP_NOZORDER);
  Pump();
  Close();
  std::map<std::string, std::string> ini = ReadIni();
  EXPECT_EQ("0", ini["Window/RestoreWindowState"]);
  EXPECT_EQ("10", ini["Window/Pos_X"]);
  EXPECT_EQ("300", ini["Window/Wnd_Width"]);
  EXPECT_EQ("1", ini["Window/ShowCmd"]);
  EXPECT_EQ("50", ini["Window/SplitBarRate"]);
}

// A save the file will not take leaves its old bytes and no temporary
// beside them.
TEST_F(MainWndSettings, RefusedSaveLeavesTheOldFile) {
  const std::string old = "; kept\r\n[Window]\r\nRestoreWindowState=1\r\nPos_X=100";
  WriteIni(old);
  CMainWnd& wnd = Open(MakeDocument("", 0));
  SetWindowPos(wnd.m_hWnd, nullptr, 30, 40, 500, 400, SWP_NOZORDER);
  Pump();
  ASSERT_TRUE(SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_READONLY));
  Close();
  SetFileAttributesA(IniPath().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(old, TestSupport::ReadBytes(IniPath()));
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA((IniPath() + "*").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, find);
  do {
    EXPECT_STRCASEEQ("tovi.ini", found.cFileName);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

}  // namespace
}  // namespace WindowTest
