// The three settings dialogs, each run through its real Show and answered
// from the CBT hook as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/CommonSettingsDialog.h"
#include "app/ItemDialog.h"
#include "tests/app/ModalAnswer.h"
#include "app/ProjectSettingsDialog.h"
#include "tests/support/TempDir.h"
#include "app/resource.h"

namespace WindowTest {
namespace {

// Ids of the common file dialog's controls.
constexpr int kFileTypeCombo = 0x470;  // cmb1
constexpr int kReadOnlyCheck = 0x410;  // chx1

constexpr char kSourceEmpty[] = "変換元ファイル名が空欄です。\n入力してください";
constexpr char kDestinationEmpty[] = "変換後ファイル名が空欄です。\n入力してください";
constexpr char kTemplateHint[] =
    "パスは絶対パスで表示されていますが、\n一覧画面に戻ると相対パスに変換され表示されます。";
constexpr char kAbsoluteHint[] = "一覧画面でも絶対パスで表示されます。";

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

std::vector<int> Settings(const CCommonSettingsDialog& dialog) {
  std::vector<int> values(3, -1);
  dialog.GetSettings(&values[0], &values[1], &values[2]);
  return values;
}

std::vector<int> Settings(const CProjectSettingsDialog& dialog) {
  std::vector<int> values(3, -1);
  dialog.GetSettings(&values[0], &values[1], &values[2]);
  return values;
}

// What a nested message box looked like beyond what Seen() records.
struct BoxFacts {
  HWND owner = nullptr;
  bool topmost = false;
};

// Records the box, closes it, then lets `then` act on the dialog below.
ModalAnswerer::Answer CloseBox(BoxFacts* facts, std::function<void()> then) {
  return [facts, then](HWND box) {
    facts->owner = GetWindow(box, GW_OWNER);
    facts->topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    PressButton(box, IDOK);
    then();
  };
}

// Runs `then` on the timer once `dialog` is enabled again, that is once the
// modal window it opened has closed.
std::function<void()> g_afterNested;
HWND g_nestedOwner = nullptr;

void CALLBACK AfterNestedTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (!IsWindowEnabled(g_nestedOwner)) return;
  KillTimer(nullptr, id);
  std::function<void()> then = std::move(g_afterNested);
  g_afterNested = nullptr;
  then();
}

void AfterNested(HWND dialog, std::function<void()> then) {
  g_nestedOwner = dialog;
  g_afterNested = std::move(then);
  SetTimer(nullptr, 0, 20, AfterNestedTimer);
}

// A dialog that nobody closes would hang the test: past the budget, fail
// and cancel every dialog of this thread.
BOOL CALLBACK CancelDialog(HWND hWnd, LPARAM) {
  char name[16] = "";
  char caption[256] = "";
  GetClassNameA(hWnd, name, sizeof name);
  GetWindowTextA(hWnd, caption, sizeof caption);
  if (lstrcmpA(name, "#32770") == 0) {
    ADD_FAILURE() << "left open: " << caption;
    PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
  }
  return TRUE;
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), CancelDialog, 0);
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { m_watchdog = SetTimer(nullptr, 0, 20000, Watchdog); }
  void TearDown() override {
    KillTimer(nullptr, m_watchdog);
    EXPECT_EQ(0, m_answerer.Pending()) << "a modal window that was expected did not open";
  }

  static void SetUpTestSuite() {
    // The main window does this before any dialog opens; the up-down
    // control of the common settings needs it.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
  }

  HINSTANCE Instance() const { return GetModuleHandleA(nullptr); }

  UINT_PTR m_watchdog = 0;
  ModalAnswerer m_answerer;
  HWND m_hDialog = nullptr;  // the dialog as its answer saw it
};

// --- All three ---

TEST_F(Dialogs, OpenCentredWithTheFocusInTheFirstFieldAndEnterIsOk) {
  // An owner away from the middle of the screen, as the main window may be.
  const HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 40, 30, 700, 500,
                                     nullptr, nullptr, Instance(), nullptr);
  ASSERT_NE(nullptr, owner);
  struct Case {
    std::function<bool()> show;
    int focus;
    const char* selected;  // the focused edit's text, all of it selected; nullptr: a button
  };
  const Case cases[] = {
      {[&] { return CCommonSettingsDialog(Instance(), owner, 4, 1, 0).Show(); }, IDC_HISTORY_COUNT,
       "4"},
      {[&] { return CItemDialog(Instance(), owner, 0, "", "C:\\a.c", "C:\\b.c").Show(); },
       IDC_SOURCE_PATH, "C:\\a.c"},
      {[&] { return CProjectSettingsDialog(Instance(), owner, 1, 1, 932).Show(); },
       IDC_RELATIVE_PATHS, nullptr},
      {[&] { return CProjectSettingsDialog(Instance(), owner, 0, 2, 65001).Show(); },
       IDC_ABSOLUTE_PATHS, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focus);
    m_answerer.ClearSeen();
    std::string text;
    DWORD start = 1;
    DWORD end = 0;
    m_answerer.Push([&](HWND hWnd) {
      const HWND focus = GetFocus();
      text = ItemText(hWnd, c.focus);
      SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
      // The key as the dialog's message loop gets it from the keyboard.
      PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 1);
      PostMessageA(focus, WM_KEYUP, VK_RETURN, 0xC0000001);
    });
    EXPECT_TRUE(c.show());
    ASSERT_EQ(1u, m_answerer.Seen().size());
    const ModalWindow& seen = m_answerer.Seen()[0];
    EXPECT_EQ(c.focus, seen.focus);
    EXPECT_TRUE(seen.centred);
    if (c.selected) {
      EXPECT_EQ(c.selected, text);
      EXPECT_EQ(0u, start);
      EXPECT_EQ(text.size(), end);
    }
  }
  DestroyWindow(owner);
}

// --- Common settings ---

TEST_F(Dialogs, CommonSettingsShowsTheValuesAndCancelKeepsThem) {
  CCommonSettingsDialog dialog(Instance(), nullptr, 4, 1, 0);
  std::string count;
  int low = -1;
  int high = -1;
  LRESULT limit = 0;
  bool restore = false;
  bool associate = true;
  m_answerer.Push([&](HWND hWnd) {
    count = ItemText(hWnd, IDC_HISTORY_COUNT);
    SendDlgItemMessageA(hWnd, IDC_HISTORY_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                        reinterpret_cast<LPARAM>(&high));
    limit = SendDlgItemMessageA(hWnd, IDC_HISTORY_COUNT, EM_GETLIMITTEXT, 0, 0);
    restore = Checked(hWnd, IDC_RESTORE_WINDOW);
    associate = Checked(hWnd, IDC_ASSOCIATE);
    SetItemText(hWnd, IDC_HISTORY_COUNT, "7");
    Click(hWnd, IDC_RESTORE_WINDOW);
    Click(hWnd, IDC_ASSOCIATE);
    PressButton(hWnd, IDCANCEL);
  });
  EXPECT_FALSE(dialog.Show());
  EXPECT_EQ("4", count);
  EXPECT_EQ(0, low);
  EXPECT_EQ(9, high);
  EXPECT_EQ(1, limit);
  EXPECT_TRUE(restore);
  EXPECT_FALSE(associate);
  EXPECT_EQ((std::vector<int>{4, 1, 0}), Settings(dialog));
}

TEST_F(Dialogs, CommonSettingsOkTakesCountAndCheckBoxes) {
  struct Case {
    int count, restore, associate;
    // Applied in order before OK: arrow key presses on the count field,
    // then a new text for it (nullptr keeps it), then check box clicks.
    UINT key;
    int presses;
    const char* text;
    bool clickRestore, clickAssociate;
    int countOut, restoreOut, associateOut;
  };
  const Case cases[] = {
      {4, 1, 0, 0, 0, nullptr, false, false, 4, 1, 0},
      {4, 1, 0, 0, 0, "", false, false, 0, 1, 0},  // an emptied field is 0
      {4, 0, 1, 0, 0, "x", true, true, 0, 1, 0},
      {4, 0, 0, 0, 0, "7", true, false, 7, 1, 0},
      {5, 7, 3, 0, 0, nullptr, false, false, 5, 1, 1},  // any non-zero flag checks its box
      {8, 0, 0, VK_UP, 3, nullptr, false, false, 9, 0, 0},
      {1, 0, 0, VK_DOWN, 3, nullptr, false, false, 0, 0, 0},
      {4, 0, 0, VK_UP, 1, nullptr, false, false, 5, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    CCommonSettingsDialog dialog(Instance(), nullptr, c.count, c.restore, c.associate);
    m_answerer.Push([&](HWND hWnd) {
      const HWND field = GetDlgItem(hWnd, IDC_HISTORY_COUNT);
      for (int i = 0; i < c.presses; ++i) {
        SendMessageA(field, WM_KEYDOWN, c.key, 0);
        SendMessageA(field, WM_KEYUP, c.key, 0);
      }
      if (c.text) SetItemText(hWnd, IDC_HISTORY_COUNT, c.text);
      if (c.clickRestore) Click(hWnd, IDC_RESTORE_WINDOW);
      if (c.clickAssociate) Click(hWnd, IDC_ASSOCIATE);
      PressButton(hWnd, IDOK);
    });
    ASSERT_TRUE(dialog.Show());
    EXPECT_EQ((std::vector<int>{c.countOut, c.restoreOut, c.associateOut}), Settings(dialog));
  }
}

TEST_F(Dialogs, CommonSettingsRefusesACountOutOfRangeAndStaysOpen) {
  struct Case {
    const char* text;
    const char* retry;  // typed after the box and OK pressed; nullptr: Cancel
    bool shown;
    int countOut;
  };
  const Case cases[] = {
      {"12", "3", true, 3},
      {"4294967295", "0", true, 0},  // wraps to -1
      {"12", nullptr, false, 6},     // the refused count is not handed back
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    m_answerer.ClearSeen();
    CCommonSettingsDialog dialog(Instance(), nullptr, 6, 1, 1);
    BoxFacts box;
    m_answerer.Push([&](HWND hWnd) {
      m_hDialog = hWnd;
      SetItemText(hWnd, IDC_HISTORY_COUNT, c.text);
      PressButton(hWnd, IDOK);
    });
    m_answerer.Push(CloseBox(&box, [&] {
      if (c.retry) SetItemText(m_hDialog, IDC_HISTORY_COUNT, c.retry);
      PressButton(m_hDialog, c.retry ? IDOK : IDCANCEL);
    }));
    EXPECT_EQ(c.shown, dialog.Show());
    EXPECT_EQ(c.countOut, Settings(dialog)[0]);
    ASSERT_EQ(2u, m_answerer.Seen().size());
    const ModalWindow& seen = m_answerer.Seen()[1];
    EXPECT_EQ("ERROR!!", seen.caption);
    EXPECT_EQ("履歴の個数は 0 ～ 9 にしてください.", seen.text);
    EXPECT_EQ(std::vector<int>{IDOK}, seen.buttons);
    EXPECT_EQ("error", seen.icon);
    EXPECT_TRUE(seen.centred);
    EXPECT_EQ(m_hDialog, box.owner);
    EXPECT_TRUE(box.topmost);  // system-modal
  }
}

// --- Item dialog ---

struct ItemCase {
  int pathMode;
  const char* directory;
  const char* source;
  const char* destination;
};

TEST_F(Dialogs, ItemDialogFormFollowsThePathsAndThePathMode) {
  struct Case {
    ItemCase item;
    const char* title;
    const char* ok;
    const char* sourceShown;
    const char* destinationShown;
    const char* hint;
  };
  const Case cases[] = {
      {{1, "", "", ""}, "アイテムの追加", "追加", "", "", kTemplateHint},
      // A source alone, as a file dropped on the list gives: shown in the add form.
      {{0, "C:\\proj\\", ".\\a.c", ""},
       "アイテムの追加",
       "追加",
       "C:\\proj\\a.c",
       "",
       kAbsoluteHint},
      {{1, "C:\\proj\\", ".\\src\\a.c", "..\\out\\a.c"},
       "アイテムの変更",
       "変更",
       "C:\\proj\\src\\a.c",
       "C:\\out\\a.c",
       kTemplateHint},
      {{1, "", ".\\a.c", "b.c"}, "アイテムの変更", "変更", ".\\a.c", "b.c", kTemplateHint},
      {{0, "C:\\proj\\", "D:\\a.c", ".\\b.c"},
       "アイテムの変更",
       "変更",
       "D:\\a.c",
       "C:\\proj\\b.c",
       kAbsoluteHint},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.item.source) + " | " + c.item.destination);
    CItemDialog dialog(Instance(), nullptr, c.item.pathMode, c.item.directory, c.item.source,
                       c.item.destination);
    std::string sourceShown;
    std::string destinationShown;
    std::string hint;
    std::string ok;
    m_answerer.ClearSeen();
    m_answerer.Push([&](HWND hWnd) {
      sourceShown = ItemText(hWnd, IDC_SOURCE_PATH);
      destinationShown = ItemText(hWnd, IDC_DESTINATION_PATH);
      hint = ItemText(hWnd, IDC_ITEM_HINT);
      ok = ItemText(hWnd, IDOK);
      PressButton(hWnd, IDCANCEL);
    });
    EXPECT_FALSE(dialog.Show());
    ASSERT_EQ(1u, m_answerer.Seen().size());
    EXPECT_EQ(c.title, m_answerer.Seen()[0].caption);
    EXPECT_EQ(c.ok, ok);
    EXPECT_EQ(c.sourceShown, sourceShown);
    EXPECT_EQ(c.destinationShown, destinationShown);
    EXPECT_EQ(c.hint, hint);
  }
}

TEST_F(Dialogs, ItemDialogHandsBackThePathsInTheProjectsForm) {
  struct Case {
    ItemCase item;
    const char* typedSource;  // nullptr keeps the shown text
    const char* typedDestination;
    const char* sourceOut;
    const char* destinationOut;
  };
  const Case cases[] = {
      {{1, "C:\\proj\\", ".\\src\\a.c", "..\\out\\a.c"},
       nullptr,
       nullptr,
       ".\\src\\a.c",
       "..\\out\\a.c"},
      {{1, "C:\\proj\\", "", ""}, "C:\\proj\\x.c", "C:\\y.c", ".\\x.c", "..\\y.c"},
      {{0, "C:\\proj\\", ".\\a.c", "D:\\b.c"}, nullptr, nullptr, "C:\\proj\\a.c", "D:\\b.c"},
      {{0, "C:\\proj\\", "", ""}, ".\\x.c", "x.c", "C:\\proj\\x.c", "C:\\proj\\x.c"},
      {{1, "", "", ""}, ".\\x.c", ".\\x.c", ".\\x.c", ".\\x.c"},  // untitled: as typed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.sourceOut) + " | " + c.destinationOut);
    CItemDialog dialog(Instance(), nullptr, c.item.pathMode, c.item.directory, c.item.source,
                       c.item.destination);
    m_answerer.Push([&](HWND hWnd) {
      if (c.typedSource) SetItemText(hWnd, IDC_SOURCE_PATH, c.typedSource);
      if (c.typedDestination) SetItemText(hWnd, IDC_DESTINATION_PATH, c.typedDestination);
      PressButton(hWnd, IDOK);
    });
    ASSERT_TRUE(dialog.Show());
    EXPECT_STREQ(c.sourceOut, dialog.GetItem().m_strSource.GetText());
    EXPECT_STREQ(c.destinationOut, dialog.GetItem().m_strDestination.GetText());
  }
}

TEST_F(Dialogs, ItemDialogWarnsOfAnEmptyFieldAndStaysOpen) {
  struct Case {
    const char* source;
    const char* destination;
    const char* message;
  };
  const Case cases[] = {
      {"", "", kSourceEmpty},
      {"", "C:\\b.c", kSourceEmpty},
      {"C:\\a.c", "", kDestinationEmpty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    m_answerer.ClearSeen();
    CItemDialog dialog(Instance(), nullptr, 0, "C:\\proj\\");
    BoxFacts box;
    m_answerer.Push([&](HWND hWnd) {
      m_hDialog = hWnd;
      SetItemText(hWnd, IDC_SOURCE_PATH, c.source);
      SetItemText(hWnd, IDC_DESTINATION_PATH, c.destination);
      PressButton(hWnd, IDOK);
    });
    // Still open after the box: filling both fields is taken.
    m_answerer.Push(CloseBox(&box, [&] {
      SetItemText(m_hDialog, IDC_SOURCE_PATH, "C:\\s.c");
      SetItemText(m_hDialog, IDC_DESTINATION_PATH, "C:\\d.c");
      PressButton(m_hDialog, IDOK);
    }));
    ASSERT_TRUE(dialog.Show());
    EXPECT_STREQ("C:\\s.c", dialog.GetItem().m_strSource.GetText());
    EXPECT_STREQ("C:\\d.c", dialog.GetItem().m_strDestination.GetText());
    ASSERT_EQ(2u, m_answerer.Seen().size());
    const ModalWindow& seen = m_answerer.Seen()[1];
    EXPECT_EQ("警告", seen.caption);
    EXPECT_EQ(c.message, seen.text);
    EXPECT_EQ(std::vector<int>{IDOK}, seen.buttons);
    EXPECT_EQ("warning", seen.icon);
    EXPECT_TRUE(seen.centred);
    EXPECT_EQ(m_hDialog, box.owner);
    EXPECT_FALSE(box.topmost);
  }
}

TEST_F(Dialogs, ItemDialogBrowseFillsTheEditFromTheOpenFileDialog) {
  TestSupport::TempDir dir;
  const std::string existing = dir.Path("source.c");
  TestSupport::WriteBytes(existing, "int a;\r\n");
  const std::string fresh = dir.Path("made.c");
  const std::string shownSource = dir.Path("old.c");
  const std::string shownDestination = dir.Path("old.out");
  struct Case {
    int button;
    int edit;
    const char* title;
    const std::string* chosen;  // nullptr: the file dialog is cancelled
    const std::string* expected;
    bool refused;  // the file dialog says the chosen file does not exist
  };
  const Case cases[] = {
      {IDC_BROWSE_SOURCE, IDC_SOURCE_PATH, "変換元となるファイルを選択してください", &existing,
       &existing, false},
      {IDC_BROWSE_DESTINATION, IDC_DESTINATION_PATH,
       "変換後のデータを保存するファイルを選択してください", &fresh, &fresh, false},
      {IDC_BROWSE_SOURCE, IDC_SOURCE_PATH, "変換元となるファイルを選択してください", nullptr,
       &shownSource, false},
      {IDC_BROWSE_SOURCE, IDC_SOURCE_PATH, "変換元となるファイルを選択してください", &fresh,
       &shownSource, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    m_answerer.ClearSeen();
    CItemDialog dialog(Instance(), nullptr, 0, "", shownSource.c_str(), shownDestination.c_str());
    std::string edit;
    std::string fileType;
    bool readOnlyShown = true;
    m_answerer.Push([&](HWND hWnd) {
      m_hDialog = hWnd;
      PressButton(hWnd, c.button);
    });
    HWND hFiles = nullptr;
    m_answerer.Push([&](HWND files) {
      hFiles = files;
      fileType = ItemText(files, kFileTypeCombo);
      const HWND readOnly = GetDlgItem(files, kReadOnlyCheck);
      readOnlyShown = readOnly && IsWindowVisible(readOnly);
      if (c.chosen) {
        AnswerFileDialog(files, *c.chosen);
      } else {
        PressButton(files, IDCANCEL);
      }
      AfterNested(m_hDialog, [&] {
        edit = ItemText(m_hDialog, c.edit);
        PressButton(m_hDialog, IDCANCEL);
      });
    });
    if (c.refused) {
      m_answerer.Push([&](HWND box) {
        PressButton(box, IDOK);
        PressButton(hFiles, IDCANCEL);
      });
    }
    EXPECT_FALSE(dialog.Show());
    EXPECT_EQ(*c.expected, edit);
    ASSERT_EQ(c.refused ? 3u : 2u, m_answerer.Seen().size());
    EXPECT_EQ(c.title, m_answerer.Seen()[1].caption);
    EXPECT_EQ("すべてのファイル (*.*)", fileType);
    EXPECT_FALSE(readOnlyShown);
  }
}

// --- Project settings ---

TEST_F(Dialogs, ProjectSettingsRadiosShowAndTakeTheSettings) {
  constexpr int kCp932 = 932, kUtf8 = 65001;
  struct Case {
    int pathMode, disposition, codePage;
    std::vector<int> clicks;  // radio buttons clicked before OK
    bool cancel;              // Cancel instead of OK
    bool checks[7];           // 1009 .. 1013, 1021, 1022 as shown
    int pathModeOut, dispositionOut, codePageOut;
  };
  const Case cases[] = {
      {0, 0, kCp932, {}, false, {false, true, true, false, false, true, false}, 0, 0, kCp932},
      {1, 1, kUtf8, {}, false, {true, false, false, true, false, false, true}, 1, 1, kUtf8},
      {1, 2, kCp932, {}, false, {true, false, false, false, true, true, false}, 1, 2, kCp932},
      // No disposition checked stores 2.
      {0, 3, kCp932, {}, false, {false, true, false, false, false, true, false}, 0, 2, kCp932},
      {2, 1, kCp932, {}, false, {true, false, false, true, false, true, false}, 1, 1, kCp932},
      {1,
       2,
       kCp932,
       {IDC_ABSOLUTE_PATHS, IDC_DIRECTIVES_REMOVE, IDC_SOURCE_UTF8},
       false,
       {true, false, false, false, true, true, false},
       0,
       0,
       kUtf8},
      {0,
       3,
       kUtf8,
       {IDC_RELATIVE_PATHS, IDC_DIRECTIVES_COMMENT_BEFORE, IDC_SOURCE_CP932},
       false,
       {false, true, false, false, false, false, true},
       1,
       1,
       kCp932},
      // Each group keeps to itself: the encoding leaves the disposition.
      {1,
       0,
       kCp932,
       {IDC_SOURCE_UTF8},
       false,
       {true, false, true, false, false, true, false},
       1,
       0,
       kUtf8},
      {1,
       3,
       kUtf8,
       {IDC_ABSOLUTE_PATHS, IDC_DIRECTIVES_REMOVE, IDC_SOURCE_CP932},
       true,
       {true, false, false, false, false, false, true},
       1,
       3,
       kUtf8},
  };
  const int ids[7] = {IDC_RELATIVE_PATHS,
                      IDC_ABSOLUTE_PATHS,
                      IDC_DIRECTIVES_REMOVE,
                      IDC_DIRECTIVES_COMMENT_BEFORE,
                      IDC_DIRECTIVES_COMMENT_AFTER,
                      IDC_SOURCE_CP932,
                      IDC_SOURCE_UTF8};
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    CProjectSettingsDialog dialog(Instance(), nullptr, c.pathMode, c.disposition, c.codePage);
    bool shown[7] = {};
    m_answerer.Push([&](HWND hWnd) {
      for (int i = 0; i < 7; ++i) shown[i] = Checked(hWnd, ids[i]);
      for (int id : c.clicks) Click(hWnd, id);
      PressButton(hWnd, c.cancel ? IDCANCEL : IDOK);
    });
    EXPECT_EQ(!c.cancel, dialog.Show());
    for (int i = 0; i < 7; ++i) EXPECT_EQ(c.checks[i], shown[i]) << ids[i];
    EXPECT_EQ((std::vector<int>{c.pathModeOut, c.dispositionOut, c.codePageOut}), Settings(dialog));
  }
}

}  // namespace
}  // namespace WindowTest
