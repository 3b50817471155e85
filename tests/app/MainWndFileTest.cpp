// New, Open, Save, Save As, Exit and closing the window, with the
// save-changes question and the file dialogs answered by the test.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/app/ModalAnswer.h"
#include "tests/support/TempDir.h"
#include "tests/app/WindowTestSupport.h"
#include "app/resource.h"

namespace WindowTest {
namespace {

using TestSupport::FileExists;
using TestSupport::ReadBytes;
using TestSupport::TempDir;

// The common file dialogs' file type list (cmb1).
constexpr int kFileTypeCombo = 0x470;

constexpr char kQuestion[] = "更新されています。保存しますか？";

// Items of the project file on disk; -1 when it does not load.
int SavedItemCount(const std::string& path) {
  CDocument saved;
  return saved.Load(path.c_str()) ? saved.GetItemCount() : -1;
}

class FileCommands : public MainWndTest {
 protected:
  // A saved project with one item, then changed by a second one.
  CMainWnd& OpenChanged(const std::string& path) {
    CDocument doc(path.empty() ? nullptr : path.c_str());
    if (!path.empty()) doc.m_strDirectory = (m_dir.Dir() + "\\").c_str();
    doc.m_aItems.Add(CItem("C:\\a.c", "C:\\a.out"));
    doc.m_aItems.Add(CItem("C:\\b.c", "C:\\b.out"));
    doc.m_nModified = 1;
    return Open(doc);
  }

  std::string SaveProject(const std::string& name, int items) {
    CDocument doc;
    for (int i = 0; i < items; ++i) doc.m_aItems.Add(CItem("C:\\x.c", "C:\\x.out"));
    const std::string path = m_dir.Path(name);
    EXPECT_TRUE(doc.Save(path.c_str()));
    return path;
  }

  std::string Log() { return m_wnd->m_strLog.GetText(); }

  int Rows() { return static_cast<int>(SendMessageA(m_wnd->m_hWndList, LVM_GETITEMCOUNT, 0, 0)); }

  std::vector<std::string> History() {
    std::vector<std::string> history;
    for (int i = 0; i < m_wnd->m_settings.m_aHistory.GetSize(); ++i) {
      history.push_back(m_wnd->m_settings.m_aHistory[i].GetText());
    }
    return history;
  }

  TempDir m_dir;
  ModalAnswerer m_answers;
};

// How each guarded command is started and whether it went on past the question.
struct Command {
  const char* name;
  std::function<void(CMainWnd&, const std::string& other)> run;
  std::function<bool(CMainWnd&, const std::string& other)> wentAhead;
};

const Command kCommands[] = {
    {"New", [](CMainWnd& w, const std::string&) { w.OnCommand(ID_FILE_NEW); },
     [](CMainWnd& w, const std::string&) { return w.m_doc.GetItemCount() == 0; }},
    {"Open", [](CMainWnd& w, const std::string& other) { w.OnOpen(other.c_str()); },
     [](CMainWnd& w, const std::string& other) { return other == w.m_doc.m_strPath.GetText(); }},
    // A project dropped anywhere, here on the log pane, with another file.
    {"Drop",
     [](CMainWnd& w, const std::string& other) {
       const RECT log = ChildRect(w.m_hWndLog);
       DropFiles(w.m_hWnd, {"C:\\x.c", other}, {log.left + 10, log.top + 10});
     },
     [](CMainWnd& w, const std::string& other) { return other == w.m_doc.m_strPath.GetText(); }},
    {"Exit", [](CMainWnd& w, const std::string&) { w.OnCommand(ID_FILE_EXIT); },
     [](CMainWnd& w, const std::string&) { return !IsWindow(w.m_hWnd); }},
    {"Close", [](CMainWnd& w, const std::string&) { SendMessageA(w.m_hWnd, WM_CLOSE, 0, 0); },
     [](CMainWnd& w, const std::string&) { return !IsWindow(w.m_hWnd); }},
};

TEST_F(FileCommands, EveryAnswerToTheSaveQuestionOfATitledProject) {
  const struct {
    int answer;
    bool unwritable;
    bool wentAhead;
    bool saved;
  } answers[] = {
      {IDCANCEL, false, false, false},
      {IDNO, false, true, false},
      {IDYES, false, true, true},
      {IDYES, true, false, false},
  };
  const std::string other = SaveProject("other.tvx", 1);
  for (const Command& command : kCommands) {
    for (const auto& a : answers) {
      SCOPED_TRACE(std::string(command.name) + " " + std::to_string(a.answer) +
                   (a.unwritable ? " unwritable" : ""));
      const std::string path =
          a.unwritable ? m_dir.Path("missing-folder\\p.tvx") : SaveProject("p.tvx", 0);
      CMainWnd& wnd = OpenChanged(path);
      m_answers.ClearSeen();
      m_answers.Press(a.answer);
      command.run(wnd, other);
      ASSERT_EQ(1u, m_answers.Seen().size());
      EXPECT_EQ(kQuestion, m_answers.Seen()[0].text);
      EXPECT_EQ("確認", m_answers.Seen()[0].caption);
      EXPECT_EQ(3u, m_answers.Seen()[0].buttons.size());
      EXPECT_EQ("question", m_answers.Seen()[0].icon);
      EXPECT_TRUE(m_answers.Seen()[0].centred);
      EXPECT_EQ(a.wentAhead, command.wentAhead(wnd, other));
      if (a.unwritable) {
        EXPECT_NE(std::string::npos, Log().find("missing-folder"));
      } else {
        EXPECT_EQ(a.saved ? 2 : 0, SavedItemCount(path));
      }
      if (IsWindow(wnd.m_hWnd)) Close();
    }
  }
}

TEST_F(FileCommands, YesForAnUntitledProjectAsksForANameAndACancelKeepsIt) {
  for (const Command& command : kCommands) {
    SCOPED_TRACE(command.name);
    const std::string other = SaveProject("other.tvx", 1);
    const std::string name = m_dir.Path(std::string("saved-") + command.name);
    CMainWnd& wnd = OpenChanged("");
    m_answers.Press(IDYES);
    m_answers.Press(IDCANCEL);  // the Save As dialog
    command.run(wnd, other);
    EXPECT_FALSE(command.wentAhead(wnd, other));
    EXPECT_EQ(1, wnd.m_doc.m_nModified);

    m_answers.Press(IDYES);
    m_answers.Push([name](HWND dialog) { AnswerFileDialog(dialog, name); });
    command.run(wnd, other);
    EXPECT_TRUE(command.wentAhead(wnd, other));
    EXPECT_TRUE(FileExists(name + ".tvx"));
    EXPECT_EQ(0, m_answers.Pending());
    if (IsWindow(wnd.m_hWnd)) Close();
  }
}

TEST_F(FileCommands, NothingUnsavedAsksNothing) {
  const std::string other = SaveProject("other.tvx", 1);
  for (const Command& command : kCommands) {
    SCOPED_TRACE(command.name);
    CMainWnd& wnd = OpenChanged(SaveProject("p.tvx", 0));
    wnd.m_doc.m_nModified = 0;
    m_answers.ClearSeen();
    command.run(wnd, other);
    EXPECT_TRUE(command.wentAhead(wnd, other));
    EXPECT_TRUE(m_answers.Seen().empty());
    if (IsWindow(wnd.m_hWnd)) Close();
  }
}

TEST_F(FileCommands, NewEmptiesProjectListAndLogButKeepsTheHistory) {
  CMainWnd& wnd = OpenChanged(SaveProject("p.tvx", 0));
  wnd.m_doc.m_nModified = 0;
  wnd.m_doc.m_strMessage = "old failure";
  wnd.AddToHistory("C:\\h.tvx");
  wnd.AppendLog("text");
  wnd.OnNew();
  Pump();
  EXPECT_EQ(0, Rows());
  EXPECT_EQ("", WindowText(wnd.m_hWndLog));
  EXPECT_EQ("", Log());
  EXPECT_STREQ("", wnd.m_doc.m_strMessage.GetText());
  EXPECT_EQ(1, wnd.m_doc.m_nPathMode);
  EXPECT_EQ(1, wnd.m_doc.m_nDirectiveMode);
  EXPECT_EQ("Tovi  (無題)", WindowText(wnd.m_hWnd));
  EXPECT_EQ("C:\\h.tvx", History()[0]);
}

TEST_F(FileCommands, OpenLoadsThroughTheDialogAndAFailedLoadChangesNothing) {
  const std::string other = SaveProject("other.tvx", 3);
  CMainWnd& wnd = OpenChanged(SaveProject("p.tvx", 0));
  wnd.m_doc.m_nModified = 0;
  wnd.AppendLog("before\r\n");
  std::string filter;
  m_answers.Push([other, &filter](HWND dialog) {
    filter = ItemText(dialog, kFileTypeCombo);
    AnswerFileDialog(dialog, other);
  });
  wnd.OnCommand(ID_FILE_OPEN);
  EXPECT_EQ("Toviプロジェクトファイル (*.tvx)", filter);
  EXPECT_EQ(other, wnd.m_doc.m_strPath.GetText());
  EXPECT_EQ(3, Rows());
  EXPECT_EQ(wnd.m_hWndList, GetFocus());
  EXPECT_EQ("", Log());
  EXPECT_EQ(other, History()[0]);

  const std::string broken = m_dir.Path("broken.tvx");
  TestSupport::WriteBytes(broken, "not a project");
  wnd.OnOpen(broken.c_str());
  EXPECT_EQ(other, wnd.m_doc.m_strPath.GetText());
  EXPECT_EQ(3, Rows());
  EXPECT_NE("", Log());
  EXPECT_EQ(other, History()[0]);

  m_answers.Press(IDCANCEL);
  wnd.OnOpen();
  EXPECT_EQ(other, wnd.m_doc.m_strPath.GetText());
}

TEST_F(FileCommands, SaveAsAppendsTheExtensionUnlessItIsExactlyLowerCase) {
  const struct {
    const char* chosen;
    const char* saved;
  } cases[] = {{"proj", "proj.tvx"}, {"p.TVX", "p.TVX.tvx"}, {"q.tvx", "q.tvx"}};
  CMainWnd& wnd = OpenChanged("");
  for (const auto& c : cases) {
    const std::string chosen = m_dir.Path(c.chosen);
    const std::string saved = m_dir.Path(c.saved);
    std::string filter;
    m_answers.Push([chosen, &filter](HWND dialog) {
      filter = ItemText(dialog, kFileTypeCombo);
      AnswerFileDialog(dialog, chosen);
    });
    wnd.OnCommand(ID_FILE_SAVEAS);
    EXPECT_EQ("TVXファイル (*.tvx)", filter);
    EXPECT_TRUE(FileExists(saved)) << saved;
    EXPECT_EQ(saved, wnd.m_doc.m_strPath.GetText());
    EXPECT_EQ(saved, History()[0]);
    EXPECT_EQ(0, wnd.m_doc.m_nModified);
    EXPECT_EQ("Tovi  " + saved, WindowText(wnd.m_hWnd));
  }

  // An existing file is replaced only after the dialog's own question.
  const std::string existing = m_dir.Path("q.tvx");
  m_answers.ClearSeen();
  m_answers.Push([existing](HWND dialog) { AnswerFileDialog(dialog, existing); });
  m_answers.Press(IDYES);
  wnd.OnSaveAs();
  ASSERT_EQ(2u, m_answers.Seen().size());
  EXPECT_TRUE(m_answers.Seen()[1].answered);
  EXPECT_EQ(existing, wnd.m_doc.m_strPath.GetText());
}

TEST_F(FileCommands, SaveWritesOnlyAChangedProjectAndLogsAFailure) {
  CMainWnd& wnd = OpenChanged("");
  wnd.m_doc.m_nModified = 0;
  wnd.OnCommand(ID_FILE_SAVE);
  EXPECT_TRUE(m_answers.Seen().empty());

  const std::string path = SaveProject("p.tvx", 0);
  OpenChanged(path);
  m_wnd->OnSave();
  CDocument saved;
  EXPECT_EQ(1, saved.Load(path.c_str()));
  EXPECT_EQ(2, saved.GetItemCount());
  EXPECT_EQ(0, m_wnd->m_doc.m_nModified);

  OpenChanged(m_dir.Path("missing-folder\\p.tvx"));
  m_wnd->OnSave();
  EXPECT_EQ(1, m_wnd->m_doc.m_nModified);
  EXPECT_EQ(m_wnd->m_doc.m_strMessage.GetText(), Log());
  EXPECT_NE("", Log());
}

TEST_F(FileCommands, SaveAsIntoAnotherFolderKeepsRelativeItemsPointingAtTheirFiles) {
  CMainWnd& wnd = OpenChanged(SaveProject("p.tvx", 0));
  wnd.m_doc.m_nPathMode = 1;
  wnd.m_doc.m_aItems.ElementAt(0) = CItem(".\\src\\a.c", ".\\a.out");
  const std::string target = m_dir.Path("sub\\q.tvx");
  CreateDirectoryA(m_dir.Path("sub").c_str(), nullptr);
  m_answers.Push([target](HWND dialog) { AnswerFileDialog(dialog, target); });
  wnd.OnSaveAs();
  CDocument saved;
  ASSERT_EQ(1, saved.Load(target.c_str()));
  EXPECT_STREQ("..\\src\\a.c", saved.GetItem(0).m_strSource.GetText());
  EXPECT_STREQ("..\\a.out", saved.GetItem(0).m_strDestination.GetText());
  EXPECT_EQ("..\\src\\a.c", ListText(wnd.m_hWndList, 0, 0));
}

// A name longer than any fixed buffer is opened whole, never cut to
// another name (here one too long for the system: the message names it).
TEST_F(FileCommands, ALongNameIsOpenedWhole) {
  const std::string path = m_dir.Dir() + "\\" + std::string(600, 'n') + ".tvx";
  CMainWnd& wnd = OpenChanged("");
  wnd.m_doc.m_nModified = 0;
  wnd.OnOpen(path.c_str());
  EXPECT_EQ("ERROR  : '" + path + "' のOPENに失敗しました.\r\n          処理を中断します.\r\n",
            Log());
  EXPECT_TRUE(wnd.m_doc.m_strPath.IsEmpty());
}

TEST_F(FileCommands, AHistoryEntryWhoseFileIsGoneIsDropped) {
  const std::string a = SaveProject("a.tvx", 1);
  const std::string c = SaveProject("c.tvx", 2);
  const std::string gone = m_dir.Path("gone.tvx");
  CMainWnd& wnd = OpenChanged("");
  wnd.m_doc.m_nModified = 0;
  wnd.AddToHistory(c.c_str());
  wnd.AddToHistory(gone.c_str());
  wnd.AddToHistory(a.c_str());
  wnd.RebuildHistoryMenu();
  wnd.OnCommand(ID_HISTORY_FIRST + 1);
  EXPECT_EQ((std::vector<std::string>{a, c}), History());
  EXPECT_EQ("ERROR  : ファイル '" + gone + "' がありません.\r\n", Log());
  const HMENU file = GetSubMenu(GetMenu(wnd.m_hWnd), 0);
  EXPECT_EQ(0u, GetMenuState(file, ID_HISTORY_FIRST + 1, MF_BYCOMMAND) & MF_DISABLED);
  EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(file, ID_HISTORY_FIRST + 2, MF_BYCOMMAND));

  // An entry that exists opens and moves to the front.
  wnd.OnCommand(ID_HISTORY_FIRST + 1);
  EXPECT_EQ(c, wnd.m_doc.m_strPath.GetText());
  EXPECT_EQ((std::vector<std::string>{c, a}), History());
}

}  // namespace
}  // namespace WindowTest
