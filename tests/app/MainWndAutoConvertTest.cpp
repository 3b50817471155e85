// 変更分を変換 and 自動変換 through their commands, on real files: the log,
// the destinations, the title and the menu's check mark.
#include <windows.h>

#include <functional>
#include <string>

#include "app/resource.h"
#include "tests/app/ModalAnswer.h"
#include "tests/app/WindowTestSupport.h"
#include "tests/support/TempDir.h"

namespace WindowTest {
namespace {

using TestSupport::ReadBytes;
using TestSupport::TempDir;
using TestSupport::WriteBytes;

constexpr char kAutoMark[] = " [自動変換]";

std::string Pass(const std::string& items) { return "変換処理中...\r\n" + items + "\r\n"; }

std::string Completed(const char* name) {
  return std::string(".\\") + name + ".c  →  .\\" + name + ".out\r\n    変換が完了しました.\r\n";
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class AutoConvert : public MainWndTest {
 protected:
  // A project in the temporary folder, relative paths, directives removed.
  void OpenProject(std::initializer_list<const char*> names) {
    CDocument doc(m_dir.Path("p.tvx").c_str());
    doc.m_strDirectory = (m_dir.Dir() + "\\").c_str();
    doc.m_nPathMode = 1;
    doc.m_nDirectiveMode = 0;
    for (const char* name : names) {
      doc.m_aItems.Add(CItem((std::string(".\\") + name + ".c").c_str(),
                             (std::string(".\\") + name + ".out").c_str()));
    }
    Open(doc);
  }

  // Saves as editors do: a new file renamed over the old one.
  void Save(const std::string& name, const std::string& text) {
    WriteBytes(m_dir.Path(name + ".new"), text);
    ASSERT_TRUE(MoveFileExA(m_dir.Path(name + ".new").c_str(), m_dir.Path(name).c_str(),
                            MOVEFILE_REPLACE_EXISTING));
  }

  std::string Out(const char* name) { return ReadBytes(m_dir.Path(std::string(name) + ".out")); }
  std::string Log() { return m_wnd->m_strLog.GetText(); }

  // Runs the message loop until `done` or the time is up; the last answer.
  bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
      Pump();
      if (done()) return true;
      if (GetTickCount64() >= deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }

  bool Checked() {
    const HMENU convert = GetSubMenu(GetMenu(m_wnd->m_hWnd), 2);
    SendMessageA(m_wnd->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(convert),
                 MAKELPARAM(2, 0));
    return (GetMenuState(convert, ID_CONVERT_AUTO, MF_BYCOMMAND) & MF_CHECKED) != 0;
  }

  TempDir m_dir;
  ModalAnswerer m_answers;
};

TEST_F(AutoConvert, ConvertChangedLeavesUpToDateDestinationsAlone) {
  WriteBytes(m_dir.Path("a.c"), "a\n");
  WriteBytes(m_dir.Path("b.c"), "b\n");
  OpenProject({"a", "b"});
  m_wnd->OnConvertAll();
  WriteBytes(m_dir.Path("b.c"), "b2\n");
  // An old time on a's destination shows whether it is written again.
  const HANDLE file = CreateFileA(m_dir.Path("a.out").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  const FILETIME old = {0x12345600, 0x01c00000};
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
  CloseHandle(file);
  m_wnd->ClearLog();

  m_wnd->OnCommand(ID_CONVERT_CHANGED);
  EXPECT_EQ(Pass(".\\a.c  →  .\\a.out\r\n    変更はありません.\r\n" + Completed("b")), Log());
  EXPECT_EQ("b2\r\n", Out("b"));
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  ASSERT_TRUE(GetFileAttributesExA(m_dir.Path("a.out").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(old.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
  EXPECT_EQ(old.dwHighDateTime, data.ftLastWriteTime.dwHighDateTime);
}

TEST_F(AutoConvert, ChangesAreConvertedWhileItIsOnAndTheWindowIsFree) {
  WriteBytes(m_dir.Path("a.c"), "#include \"inc.h\"\nA\n");
  WriteBytes(m_dir.Path("inc.h"), "#define A 1\n");
  OpenProject({"a"});
  const std::string title = WindowText(m_wnd->m_hWnd);
  EXPECT_FALSE(Checked());

  // On: a first pass over every item.
  m_wnd->OnCommand(ID_CONVERT_AUTO);
  EXPECT_TRUE(Checked());
  EXPECT_EQ(title + kAutoMark, WindowText(m_wnd->m_hWnd));
  EXPECT_EQ("1\r\n", Out("a"));
  std::string log = Pass(Completed("a"));
  EXPECT_EQ(log, Log());

  // The source, then the file it includes.
  Save("a.c", "#include \"inc.h\"\nA A\n");
  log += Pass(Completed("a"));
  EXPECT_TRUE(PumpUntil([&] { return Out("a") == "1 1\r\n" && Log() == log; }, 10000)) << Log();
  Save("inc.h", "#define A 2\n");
  log += Pass(Completed("a"));
  EXPECT_TRUE(PumpUntil([&] { return Out("a") == "2 2\r\n" && Log() == log; }, 10000)) << Log();

  // While a box disables the window nothing happens; afterwards the change comes.
  EnableWindow(m_wnd->m_hWnd, FALSE);
  Save("a.c", "#include \"inc.h\"\nA\n");
  EXPECT_FALSE(PumpUntil([&] { return Log() != log; }, 1000));
  EnableWindow(m_wnd->m_hWnd, TRUE);
  log += Pass(Completed("a"));
  EXPECT_TRUE(PumpUntil([&] { return Out("a") == "2\r\n" && Log() == log; }, 10000)) << Log();

  // An item added while it is on is converted alone.
  WriteBytes(m_dir.Path("b.c"), "b\n");
  m_answers.Push([this](HWND dialog) {
    SetItemText(dialog, IDC_SOURCE_PATH, m_dir.Path("b.c"));
    SetItemText(dialog, IDC_DESTINATION_PATH, m_dir.Path("b.out"));
    PressButton(dialog, IDOK);
  });
  m_wnd->OnAddItem();
  log += Pass(Completed("b"));
  EXPECT_EQ(log, Log());
  EXPECT_EQ("b\r\n", Out("b"));
  EXPECT_EQ(title + " (更新)" + kAutoMark, WindowText(m_wnd->m_hWnd));

  // Another project opened: its items are watched instead.
  WriteBytes(m_dir.Path("c.c"), "c\n");
  CDocument other(m_dir.Path("q.tvx").c_str());
  other.m_nPathMode = 1;
  other.m_nDirectiveMode = 0;
  other.m_aItems.Add(CItem(".\\c.c", ".\\c.out"));
  ASSERT_TRUE(other.Save());
  m_wnd->m_doc.m_nModified = 0;
  m_wnd->OnOpen(m_dir.Path("q.tvx").c_str());
  log = Pass(Completed("c"));
  EXPECT_EQ(log, Log());
  Save("c.c", "c c\n");
  log += Pass(Completed("c"));
  EXPECT_TRUE(PumpUntil([&] { return Out("c") == "c c\r\n" && Log() == log; }, 10000)) << Log();

  // Off: a change is left alone.
  const std::string opened = WindowText(m_wnd->m_hWnd);
  m_wnd->OnCommand(ID_CONVERT_AUTO);
  EXPECT_FALSE(Checked());
  EXPECT_EQ(opened.substr(0, opened.size() - std::string(kAutoMark).size()),
            WindowText(m_wnd->m_hWnd));
  Save("c.c", "c c c\n");
  EXPECT_FALSE(PumpUntil([&] { return Log() != log; }, 1500)) << Log();
  EXPECT_EQ("c c\r\n", Out("c"));

  // New stops it.
  m_wnd->OnAutoConvert();
  EXPECT_TRUE(EndsWith(WindowText(m_wnd->m_hWnd), kAutoMark));
  m_wnd->OnNew();
  EXPECT_FALSE(Checked());
  EXPECT_EQ("Tovi  (無題)", WindowText(m_wnd->m_hWnd));
}

}  // namespace
}  // namespace WindowTest
