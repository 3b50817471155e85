// The item commands through their real handlers, with the boxes and
// dialogs they open answered by the test.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/Association.h"
#include "tests/app/ModalAnswer.h"
#include "tests/support/TempDir.h"
#include "tests/app/WindowTestSupport.h"
#include "app/resource.h"
#include "ToviVersion.h"

namespace WindowTest {
namespace {

using TestSupport::TempDir;

class Commands : public MainWndTest {
 protected:
  CMainWnd& OpenItems(const std::vector<std::pair<const char*, const char*>>& items,
                      int pathMode = 0) {
    CDocument doc("C:\\proj\\p.tvx");
    doc.m_strDirectory = "C:\\proj\\";
    doc.m_nPathMode = pathMode;
    for (const auto& item : items) doc.m_aItems.Add(CItem(item.first, item.second));
    return Open(doc);
  }

  void Select(std::initializer_list<int> rows) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    SendMessageA(m_wnd->m_hWndList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int row : rows)
      SendMessageA(m_wnd->m_hWndList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }

  std::vector<std::string> Rows(int column) {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageA(m_wnd->m_hWndList, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) rows.push_back(ListText(m_wnd->m_hWndList, row, column));
    return rows;
  }

  std::vector<std::string> Sources() {
    std::vector<std::string> sources;
    for (int i = 0; i < m_wnd->m_doc.GetItemCount(); ++i)
      sources.push_back(m_wnd->m_doc.GetItem(i).m_strSource.GetText());
    return sources;
  }

  bool RowState(int row, UINT mask) {
    return (SendMessageA(m_wnd->m_hWndList, LVM_GETITEMSTATE, row, mask) & mask) == mask;
  }

  std::string Log() { return m_wnd->m_strLog.GetText(); }

  // Fills the item dialog's two paths and presses its OK button.
  static ModalAnswerer::Answer FillItem(std::string source, std::string destination) {
    return [source, destination](HWND dialog) {
      SetItemText(dialog, IDC_SOURCE_PATH, source);
      SetItemText(dialog, IDC_DESTINATION_PATH, destination);
      PressButton(dialog, IDOK);
    };
  }

  void Notify(UINT code) {
    NMHDR header = {m_wnd->m_hWndList, IDC_ITEMLIST, code};
    SendMessageA(m_wnd->m_hWnd, WM_NOTIFY, IDC_ITEMLIST, reinterpret_cast<LPARAM>(&header));
  }

  ModalAnswerer m_answers;
};

using Strings = std::vector<std::string>;

TEST_F(Commands, AddAppendsARowAndAnItemAndMarksTheProjectModified) {
  OpenItems({{"C:\\a.c", "C:\\a.out"}});
  m_answers.Push(FillItem("C:\\proj\\src\\b.c", "C:\\out\\b.c"));
  m_wnd->OnCommand(ID_EDIT_ADDITEM);
  ASSERT_EQ(1u, m_answers.Seen().size());
  EXPECT_EQ("アイテムの追加", m_answers.Seen()[0].caption);
  EXPECT_EQ((Strings{"C:\\a.c", "C:\\proj\\src\\b.c"}), Rows(0));
  EXPECT_EQ((Strings{"C:\\a.out", "C:\\out\\b.c"}), Rows(1));
  EXPECT_EQ(Rows(0), Sources());
  EXPECT_EQ(1, m_wnd->m_doc.m_nModified);
  EXPECT_EQ("Tovi  C:\\proj\\p.tvx (更新)", WindowText(m_wnd->m_hWnd));
  EXPECT_TRUE(m_answers.Seen()[0].centred);
  EXPECT_EQ(IDC_SOURCE_PATH, m_answers.Seen()[0].focus);

  // Relative mode hands back paths relative to the project directory.
  m_wnd->m_doc.m_nPathMode = 1;
  m_answers.Push(FillItem("C:\\proj\\src\\c.c", "C:\\proj\\c.out"));
  m_wnd->OnAddItem();
  EXPECT_EQ(".\\src\\c.c", Rows(0).back());
  EXPECT_EQ(".\\c.out", Rows(1).back());

  m_answers.Press(IDCANCEL);
  m_wnd->OnAddItem();
  EXPECT_EQ(3, m_wnd->m_doc.GetItemCount());
  EXPECT_EQ(3u, Rows(0).size());
}

TEST_F(Commands, EditActsOnTheFirstEqualItemAndSelectsTheNewRow) {
  OpenItems({{"C:\\a.c", "C:\\a.out"}, {"C:\\b.c", "C:\\b.out"}, {"C:\\a.c", "C:\\a.out"}});
  Select({2});
  m_answers.Push([](HWND dialog) {
    EXPECT_EQ("C:\\a.c", ItemText(dialog, IDC_SOURCE_PATH));
    SetItemText(dialog, IDC_SOURCE_PATH, "C:\\z.c");
    PressButton(dialog, IDOK);
  });
  m_wnd->OnCommand(ID_EDIT_EDITITEM);
  ASSERT_EQ(1u, m_answers.Seen().size());
  EXPECT_EQ("アイテムの変更", m_answers.Seen()[0].caption);
  EXPECT_EQ((Strings{"C:\\z.c", "C:\\b.c", "C:\\a.c"}), Sources());
  EXPECT_EQ((Strings{"C:\\a.c", "C:\\b.c", "C:\\z.c"}), Rows(0));
  EXPECT_EQ(1, m_wnd->m_doc.m_nModified);
  EXPECT_TRUE(RowState(2, LVIS_SELECTED | LVIS_FOCUSED));
  EXPECT_FALSE(RowState(0, LVIS_SELECTED));
  EXPECT_EQ(m_wnd->m_hWndList, GetFocus());
}

TEST_F(Commands, EditNeedsExactlyOneSelectedRow) {
  OpenItems({{"C:\\a.c", "C:\\a.out"}, {"C:\\b.c", "C:\\b.out"}});
  for (auto rows : {std::initializer_list<int>{}, std::initializer_list<int>{0, 1}}) {
    Select(rows);
    m_answers.ClearSeen();
    m_answers.Press(IDOK);
    m_wnd->OnEditItem();
    ASSERT_EQ(1u, m_answers.Seen().size());
    EXPECT_EQ("ERROR", m_answers.Seen()[0].caption);
    EXPECT_EQ("変更する時は選択項目を1個にして下さい.", m_answers.Seen()[0].text);
    EXPECT_EQ(std::vector<int>{IDOK}, m_answers.Seen()[0].buttons);
    EXPECT_EQ("error", m_answers.Seen()[0].icon);
    EXPECT_TRUE(m_answers.Seen()[0].centred);
  }
  EXPECT_EQ(0, m_wnd->m_doc.m_nModified);
}

TEST_F(Commands, EditOfARowWithoutItsItemLogsAndLeavesTheList) {
  OpenItems({{"C:\\a.c", "C:\\a.out"}});
  m_wnd->m_doc.m_aItems.ElementAt(0).m_strSource = "C:\\other.c";
  Select({0});
  m_answers.Push(FillItem("C:\\z.c", "C:\\z.out"));
  m_wnd->OnEditItem();
  EXPECT_EQ("ERROR : 修正に失敗.\r\n        ドキュメントにアイテムがありません.\r\n", Log());
  EXPECT_EQ(Strings{"C:\\a.c"}, Rows(0));
  EXPECT_EQ(0, m_wnd->m_doc.m_nModified);
}

TEST_F(Commands, DeleteAsksAsTheSelectionRequires) {
  struct Case {
    std::initializer_list<int> selected;
    int answer;  // 0: no box expected
    const char* question;
    Strings left;
  };
  const Case cases[] = {
      {{},
       IDOK,
       "アイテムが選択されていません.\n削除したいアイテムを選択してください.",
       {"1", "2", "3"}},
      {{1}, 0, nullptr, {"1", "3"}},
      {{0, 2}, IDCANCEL, "選択されているアイテムをすべて削除します.", {"1", "2", "3"}},
      {{0, 2}, IDOK, "選択されているアイテムをすべて削除します.", {"2"}},
  };
  for (const Case& c : cases) {
    OpenItems({{"1", "x"}, {"2", "x"}, {"3", "x"}});
    Select(c.selected);
    m_answers.ClearSeen();
    if (c.answer) m_answers.Press(c.answer);
    m_wnd->OnCommand(ID_EDIT_DELETEITEMS);
    if (c.question) {
      ASSERT_EQ(1u, m_answers.Seen().size());
      EXPECT_EQ("確認", m_answers.Seen()[0].caption);
      EXPECT_EQ(c.question, m_answers.Seen()[0].text);
      EXPECT_EQ(c.selected.size() > 1 ? 2u : 1u, m_answers.Seen()[0].buttons.size());
      // The notice of an empty selection asks nothing.
      EXPECT_EQ(c.selected.size() > 1 ? "question" : "information", m_answers.Seen()[0].icon);
      EXPECT_TRUE(m_answers.Seen()[0].centred);
    } else {
      EXPECT_TRUE(m_answers.Seen().empty());
    }
    EXPECT_EQ(c.left, Rows(0));
    EXPECT_EQ(c.left, Sources());
    EXPECT_EQ(c.left.size() < 3 ? 1 : 0, m_wnd->m_doc.m_nModified);
    Close();
  }
}

TEST_F(Commands, DeleteRemovesTheFirstEqualItemsAndRowsWithoutItems) {
  OpenItems({{"a", "x"}, {"b", "x"}, {"a", "x"}, {"c", "x"}});
  m_wnd->m_doc.m_aItems.ElementAt(3).m_strSource = "gone";
  Select({2, 3});
  m_answers.Press(IDOK);
  m_wnd->OnDeleteItems();
  EXPECT_EQ((Strings{"b", "a", "gone"}), Sources());
  EXPECT_EQ((Strings{"a", "b"}), Rows(0));
  EXPECT_EQ("ERROR : 削除に失敗.\r\n        ドキュメントにアイテムがありません.\r\n", Log());
}

TEST_F(Commands, AddAndDeleteLeaveTheListFocusedOnTheirRow) {
  std::vector<std::pair<const char*, const char*>> items(60, {"s", "d"});
  OpenItems(items);
  const HWND list = m_wnd->m_hWndList;
  EXPECT_EQ(list, GetFocus());
  SetFocus(m_wnd->m_hWndLog);
  Select({0});
  m_answers.Push(FillItem("C:\\new.c", "C:\\new.out"));
  m_wnd->OnAddItem();
  EXPECT_EQ(list, GetFocus());
  EXPECT_EQ(1, SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
  EXPECT_TRUE(RowState(60, LVIS_SELECTED | LVIS_FOCUSED));
  const LRESULT top = SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
  EXPECT_GT(top, 0);  // scrolled
  EXPECT_LT(60, top + SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));

  // After a delete the next row has the focus, unselected: another Delete
  // asks instead of removing it.
  SetFocus(m_wnd->m_hWndLog);
  Select({10, 11});
  m_answers.Press(IDOK);
  m_wnd->OnDeleteItems();
  EXPECT_EQ(list, GetFocus());
  EXPECT_EQ(0, SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
  EXPECT_EQ(10, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  // The last row deleted: the new last one.
  Select({58});
  m_wnd->OnDeleteItems();
  EXPECT_EQ(57, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

TEST_F(Commands, EnterEditsAndDeleteDeletesAsTheMenuCommandsDo) {
  struct Case {
    WPARAM key;
    std::initializer_list<int> selected;
    int answer;           // pressed in the one window that opens; 0: none opens
    const char* caption;  // of that window
    Strings left;
  };
  const Case cases[] = {
      {VK_RETURN, {1}, IDCANCEL, "アイテムの変更", {"1", "2", "3"}},
      {VK_RETURN, {}, IDOK, "ERROR", {"1", "2", "3"}},
      {VK_RETURN, {0, 1}, IDOK, "ERROR", {"1", "2", "3"}},
      {VK_DELETE, {1}, 0, nullptr, {"1", "3"}},
      {VK_DELETE, {0, 2}, IDOK, "確認", {"2"}},
      {VK_DELETE, {0, 2}, IDCANCEL, "確認", {"1", "2", "3"}},
      {VK_DELETE, {}, IDOK, "確認", {"1", "2", "3"}},
      {'X', {1}, 0, nullptr, {"1", "2", "3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    OpenItems({{"1", "x"}, {"2", "x"}, {"3", "x"}});
    Select(c.selected);
    m_answers.ClearSeen();
    if (c.answer) m_answers.Press(c.answer);
    SendMessageA(m_wnd->m_hWndList, WM_KEYDOWN, c.key, 1);
    if (c.caption) {
      ASSERT_EQ(1u, m_answers.Seen().size());
      EXPECT_EQ(c.caption, m_answers.Seen()[0].caption);
    } else {
      EXPECT_TRUE(m_answers.Seen().empty());
    }
    EXPECT_EQ(c.left, Rows(0));
    EXPECT_EQ(c.left, Sources());
    Close();
  }
}

TEST_F(Commands, FocusReturnsToThePaneThatHadItAfterABox) {
  OpenItems({{"a", "x"}});
  for (HWND pane : {m_wnd->m_hWndLog, m_wnd->m_hWndList}) {
    SetFocus(pane);
    m_answers.ClearSeen();
    m_answers.Press(IDOK);
    m_wnd->OnVersion();
    Pump();
    EXPECT_EQ(pane, GetFocus());
  }
  ASSERT_EQ(1u, m_answers.Seen().size());
  EXPECT_EQ("information", m_answers.Seen()[0].icon);
  EXPECT_TRUE(m_answers.Seen()[0].centred);
}

// Paths longer than any fixed buffer come whole out of the item dialog and
// back out of the list: the delete finds the item they name.
TEST_F(Commands, LongPathsStayWholeThroughTheDialogAndTheList) {
  const std::string source = "C:\\" + std::string(600, 's') + ".c";
  const std::string destination = "C:\\" + std::string(600, 'd') + ".out";
  OpenItems({{"C:\\a.c", "C:\\a.out"}});
  m_answers.Push(FillItem(source, destination));
  m_wnd->OnAddItem();
  ASSERT_EQ(2, m_wnd->m_doc.GetItemCount());
  EXPECT_EQ(source, m_wnd->m_doc.GetItem(1).m_strSource.GetText());
  EXPECT_EQ(destination, m_wnd->m_doc.GetItem(1).m_strDestination.GetText());
  Select({1});
  m_wnd->OnDeleteItems();
  EXPECT_EQ(Strings{"C:\\a.c"}, Sources());
  EXPECT_EQ("", Log());
}

TEST_F(Commands, SelectAllAndDeselectAll) {
  OpenItems({{"a", "x"}, {"b", "x"}, {"c", "x"}});
  m_wnd->OnCommand(ID_EDIT_SELECTALL);
  EXPECT_EQ(3, SendMessageA(m_wnd->m_hWndList, LVM_GETSELECTEDCOUNT, 0, 0));
  m_wnd->OnCommand(ID_EDIT_DESELECTALL);
  EXPECT_EQ(0, SendMessageA(m_wnd->m_hWndList, LVM_GETSELECTEDCOUNT, 0, 0));
  EXPECT_EQ(m_wnd->m_hWndList, GetFocus());
}

TEST_F(Commands, MenusAreEnabledByTheSelection) {
  struct Case {
    int rows;
    std::initializer_list<int> selected;
    bool edit, remove, selectAll, deselectAll, convertAll, convertSelected;
  };
  const Case cases[] = {
      {0, {}, false, false, false, false, false, false},
      {2, {}, false, false, true, false, true, false},
      {2, {1}, true, true, true, true, true, true},
      {2, {0, 1}, false, true, false, true, true, true},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<const char*, const char*>> items(c.rows, {"s", "d"});
    OpenItems(items);
    Select(c.selected);
    const HMENU bar = GetMenu(m_wnd->m_hWnd);
    const HMENU edit = GetSubMenu(bar, 1);
    const HMENU convert = GetSubMenu(bar, 2);
    SendMessageA(m_wnd->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, 0));
    SendMessageA(m_wnd->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(convert),
                 MAKELPARAM(2, 0));
    auto enabled = [](HMENU menu, int id) {
      return !(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
    };
    SCOPED_TRACE(c.rows * 10 + static_cast<int>(c.selected.size()));
    EXPECT_TRUE(enabled(edit, ID_EDIT_ADDITEM));
    EXPECT_EQ(c.edit, enabled(edit, ID_EDIT_EDITITEM));
    EXPECT_EQ(c.remove, enabled(edit, ID_EDIT_DELETEITEMS));
    EXPECT_EQ(c.selectAll, enabled(edit, ID_EDIT_SELECTALL));
    EXPECT_EQ(c.deselectAll, enabled(edit, ID_EDIT_DESELECTALL));
    EXPECT_EQ(c.convertAll, enabled(convert, ID_CONVERT_ALL));
    EXPECT_EQ(c.convertSelected, enabled(convert, ID_CONVERT_SELECTED));
    Close();
  }
}

TEST_F(Commands, DoubleClickAddsOnEmptySelectionAndEditsOneRow) {
  OpenItems({{"C:\\a.c", "C:\\a.out"}, {"C:\\b.c", "C:\\b.out"}});
  const struct {
    std::initializer_list<int> selected;
    const char* caption;  // nullptr: no dialog
  } cases[] = {{{}, "アイテムの追加"}, {{0}, "アイテムの変更"}, {{0, 1}, nullptr}};
  for (const auto& c : cases) {
    Select(c.selected);
    m_answers.ClearSeen();
    Notify(static_cast<UINT>(NM_DBLCLK));
    if (!c.caption) {
      EXPECT_TRUE(m_answers.Seen().empty());
      continue;
    }
    ASSERT_EQ(1u, m_answers.Seen().size());
    EXPECT_EQ(c.caption, m_answers.Seen()[0].caption);
    EXPECT_FALSE(m_answers.Seen()[0].answered);
  }
  EXPECT_EQ(2, m_wnd->m_doc.GetItemCount());
}

// Popups that opened while the hook is set, and where on the screen; each
// is closed as soon as it is shown.
std::vector<HMENU> g_shownPopups;
std::vector<RECT> g_popupRects;

LRESULT CALLBACK CancelPopups(int code, WPARAM wParam, LPARAM lParam) {
  const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code >= 0 && message->message == WM_INITMENUPOPUP) {
    g_shownPopups.push_back(reinterpret_cast<HMENU>(message->wParam));
  } else if (code >= 0 && message->message == WM_ENTERIDLE && message->wParam == MSGF_MENU) {
    // The menu loop is waiting for input: the popup window is on screen.
    RECT rect = {};
    GetWindowRect(reinterpret_cast<HWND>(message->lParam), &rect);
    g_popupRects.push_back(rect);
    EndMenu();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Commands, RightClickTracksTheContextMenuForTheSelection) {
  OpenItems({{"a", "x"}, {"b", "x"}});
  const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CancelPopups, nullptr, GetCurrentThreadId());
  const struct {
    std::initializer_list<int> selected;
    HMENU expected;
  } cases[] = {{{}, nullptr}, {{0}, m_wnd->m_hMenuSingle}, {{0, 1}, m_wnd->m_hMenuPlural}};
  for (const auto& c : cases) {
    Select(c.selected);
    g_shownPopups.clear();
    Notify(static_cast<UINT>(NM_RCLICK));
    EXPECT_EQ(c.expected ? std::vector<HMENU>{c.expected} : std::vector<HMENU>{}, g_shownPopups);
  }
  UnhookWindowsHookEx(hook);
  ASSERT_NE(nullptr, m_wnd->m_hMenuSingle);
  EXPECT_EQ(ID_ITEM_EDITSOURCE, static_cast<int>(GetMenuItemID(m_wnd->m_hMenuSingle, 3)));
  EXPECT_EQ(ID_CONVERT_SELECTED, static_cast<int>(GetMenuItemID(m_wnd->m_hMenuPlural, 0)));
}

TEST_F(Commands, MenuKeyOpensTheContextMenuBelowTheFocusedRow) {
  std::vector<std::pair<const char*, const char*>> items(60, {"s", "d"});
  OpenItems(items);
  const HWND list = m_wnd->m_hWndList;
  const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CancelPopups, nullptr, GetCurrentThreadId());
  struct Case {
    std::initializer_list<int> selected;
    int focused;
    HMENU expected;
    int anchor;  // the row the menu opens below; -1: the list's top-left corner
  };
  const Case cases[] = {
      {{}, 3, nullptr, -1},
      {{3}, 3, m_wnd->m_hMenuSingle, 3},
      {{50}, 50, m_wnd->m_hMenuSingle, 50},  // out of view: scrolled to
      {{2, 4}, 4, m_wnd->m_hMenuPlural, 4},
      {{2, 4}, 7, m_wnd->m_hMenuPlural, 2},  // the focused row is not selected
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
    Select(c.selected);
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, c.focused, reinterpret_cast<LPARAM>(&state));
    g_shownPopups.clear();
    g_popupRects.clear();
    // What the list does with Shift+F10 or the menu key.
    SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    if (!c.expected) {
      EXPECT_TRUE(g_shownPopups.empty());
      continue;
    }
    EXPECT_EQ(std::vector<HMENU>{c.expected}, g_shownPopups);
    ASSERT_EQ(1u, g_popupRects.size());
    RECT row = {};
    row.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(list, LVM_GETITEMRECT, c.anchor, reinterpret_cast<LPARAM>(&row)));
    RECT inList;
    GetClientRect(list, &inList);
    EXPECT_TRUE(row.top >= 0 && row.bottom <= inList.bottom) << "row not in view";
    POINT corner = {row.left, row.bottom};
    ClientToScreen(list, &corner);
    EXPECT_EQ(corner.x, g_popupRects[0].left);
    EXPECT_EQ(corner.y, g_popupRects[0].top);
  }
  // A mouse request carries a position: the right click has opened the menu.
  g_shownPopups.clear();
  Select({1});
  RECT inside;
  GetWindowRect(list, &inside);
  SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
               MAKELPARAM(inside.left + 30, inside.top + 60));
  EXPECT_TRUE(g_shownPopups.empty());
  UnhookWindowsHookEx(hook);
}

TEST_F(Commands, FilesDroppedOnTheListOpenTheAddDialogOneByOne) {
  TempDir dir;
  OpenItems({{"C:\\a.c", "C:\\a.out"}});
  const RECT list = ChildRect(m_wnd->m_hWndList);
  const POINT onList = {list.left + 20, list.top + 40};
  const std::vector<std::string> files = {"C:\\in\\one.c", dir.Dir(), "C:\\in\\two.c",
                                          "C:\\in\\three.c"};
  std::vector<std::string> shown;
  auto fill = [&](const char* destination) {
    return [&shown, destination](HWND dialog) {
      shown.push_back(ItemText(dialog, IDC_SOURCE_PATH));
      SetItemText(dialog, IDC_DESTINATION_PATH, destination);
      PressButton(dialog, IDOK);
    };
  };
  m_answers.Push(fill("C:\\out\\one.c"));
  m_answers.Push([&shown](HWND dialog) {
    shown.push_back(ItemText(dialog, IDC_SOURCE_PATH));
    PressButton(dialog, IDCANCEL);
  });
  DropFiles(m_wnd->m_hWnd, files, onList);
  // The folder is no file; Cancel on the second file leaves out the third.
  EXPECT_EQ((Strings{"C:\\in\\one.c", "C:\\in\\two.c"}), shown);
  ASSERT_EQ(2u, m_answers.Seen().size());
  EXPECT_EQ("アイテムの追加", m_answers.Seen()[1].caption);
  EXPECT_EQ((Strings{"C:\\a.c", "C:\\in\\one.c"}), Sources());
  EXPECT_EQ(Sources(), Rows(0));
  EXPECT_TRUE(RowState(1, LVIS_SELECTED | LVIS_FOCUSED));

  // Dropped on the log pane, files are not items.
  m_answers.ClearSeen();
  const RECT log = ChildRect(m_wnd->m_hWndLog);
  DropFiles(m_wnd->m_hWnd, {"C:\\in\\four.c"}, {log.left + 20, log.top + 20});
  EXPECT_TRUE(m_answers.Seen().empty());
  EXPECT_EQ(2, m_wnd->m_doc.GetItemCount());
}

TEST_F(Commands, ConvertAllReportsEveryItemAndGoesOnAfterAFailure) {
  TempDir dir;
  TestSupport::WriteBytes(dir.Path("a.c"), "#define N 1\nint a = N;\n");
  TestSupport::WriteBytes(dir.Path("c.c"), "c\n");
  CDocument doc((dir.Path("p.tvx")).c_str());
  doc.m_strDirectory = (dir.Dir() + "\\").c_str();
  doc.m_nPathMode = 1;
  doc.m_nDirectiveMode = 0;
  doc.m_aItems.Add(CItem(".\\a.c", ".\\a.out"));
  doc.m_aItems.Add(CItem(".\\missing.c", ".\\b.out"));
  doc.m_aItems.Add(CItem(".\\c.c", ".\\c.out"));
  Open(doc);
  m_wnd->OnCommand(ID_CONVERT_ALL);
  EXPECT_EQ("int a = 1;\r\n", TestSupport::ReadBytes(dir.Path("a.out")));
  EXPECT_EQ("c\r\n", TestSupport::ReadBytes(dir.Path("c.out")));
  const std::string expected =
      "変換処理中...\r\n.\\a.c  →  .\\a.out\r\n    変換が完了しました.\r\n"
      ".\\missing.c  →  .\\b.out\r\nERROR   : '" +
      dir.Path("missing.c") +
      "' のOPENに失敗しました.\r\n    変換を中止しました.\r\n"
      ".\\c.c  →  .\\c.out\r\n    変換が完了しました.\r\n\r\n";
  EXPECT_EQ(expected, Log());
  EXPECT_EQ(0, m_wnd->m_doc.m_nModified);
  Pump();
  EXPECT_EQ(expected, WindowText(m_wnd->m_hWndLog));

  // Selected rows only, in list order; with none, just the frame.
  m_wnd->ClearLog();
  Select({2});
  m_wnd->OnCommand(ID_CONVERT_SELECTED);
  EXPECT_EQ("変換処理中...\r\n.\\c.c  →  .\\c.out\r\n    変換が完了しました.\r\n\r\n", Log());
  m_wnd->ClearLog();
  Select({});
  m_wnd->OnConvertSelected();
  EXPECT_EQ("変換処理中...\r\n\r\n", Log());
}

TEST_F(Commands, ProjectSettingsStoreConvertPathsAndMarkModified) {
  OpenItems({{".\\src\\a.c", "..\\out\\a.c"}}, 1);
  m_answers.Push([](HWND dialog) {
    CheckRadioButton(dialog, IDC_RELATIVE_PATHS, IDC_ABSOLUTE_PATHS, IDC_ABSOLUTE_PATHS);
    CheckRadioButton(dialog, IDC_DIRECTIVES_REMOVE, IDC_DIRECTIVES_COMMENT_AFTER,
                     IDC_DIRECTIVES_REMOVE);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_SOURCE_CP932));
    CheckRadioButton(dialog, IDC_SOURCE_CP932, IDC_SOURCE_UTF8, IDC_SOURCE_UTF8);
    PressButton(dialog, IDOK);
  });
  m_wnd->OnCommand(ID_TOOLS_PROJECTSETTINGS);
  EXPECT_EQ(0, m_wnd->m_doc.m_nPathMode);
  EXPECT_EQ(0, m_wnd->m_doc.m_nDirectiveMode);
  EXPECT_EQ(65001, m_wnd->m_doc.m_nSourceCodePage);
  EXPECT_EQ(1, m_wnd->m_doc.m_nModified);
  EXPECT_EQ(Strings{"C:\\proj\\src\\a.c"}, Rows(0));
  EXPECT_EQ(Strings{"C:\\out\\a.c"}, Rows(1));
  EXPECT_EQ(Rows(0), Sources());

  // The dialog opens on the project's encoding; changing only that marks
  // the project modified, and Cancel keeps it.
  m_wnd->m_doc.m_nModified = 0;
  m_answers.Push([](HWND dialog) {
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_SOURCE_UTF8));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_SOURCE_CP932));
    CheckRadioButton(dialog, IDC_SOURCE_CP932, IDC_SOURCE_UTF8, IDC_SOURCE_CP932);
    PressButton(dialog, IDOK);
  });
  m_wnd->OnProjectSettings();
  EXPECT_EQ(932, m_wnd->m_doc.m_nSourceCodePage);
  EXPECT_EQ(1, m_wnd->m_doc.m_nModified);

  // OK without a change still counts as a change.
  m_wnd->m_doc.m_nModified = 0;
  m_answers.Press(IDOK);
  m_wnd->OnProjectSettings();
  EXPECT_EQ(1, m_wnd->m_doc.m_nModified);
  m_wnd->m_doc.m_nModified = 0;
  m_answers.Push([](HWND dialog) {
    CheckRadioButton(dialog, IDC_SOURCE_CP932, IDC_SOURCE_UTF8, IDC_SOURCE_UTF8);
    PressButton(dialog, IDCANCEL);
  });
  m_wnd->OnProjectSettings();
  EXPECT_EQ(0, m_wnd->m_doc.m_nModified);
  EXPECT_EQ(932, m_wnd->m_doc.m_nSourceCodePage);
}

TEST_F(Commands, CommonSettingsResizeTheHistorySetTheFlagAndTheAssociation) {
  OpenItems({});
  SetAssociation(false, m_wnd->m_strModulePath);
  m_wnd->m_settings.AddToHistory("C:\\one.tvx");
  m_wnd->m_settings.AddToHistory("C:\\two.tvx");
  m_answers.Push([](HWND dialog) {
    EXPECT_EQ("3", ItemText(dialog, IDC_HISTORY_COUNT));
    SetItemText(dialog, IDC_HISTORY_COUNT, "1");
    CheckDlgButton(dialog, IDC_RESTORE_WINDOW, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_ASSOCIATE, BST_CHECKED);
    PressButton(dialog, IDOK);
  });
  m_wnd->OnCommand(ID_TOOLS_COMMONSETTINGS);
  EXPECT_EQ(1, m_wnd->m_settings.m_nHistoryCount);
  ASSERT_EQ(1, m_wnd->m_settings.m_aHistory.GetSize());
  EXPECT_STREQ("C:\\two.tvx", m_wnd->m_settings.m_aHistory[0].GetText());
  EXPECT_EQ(0, m_wnd->m_settings.m_bRestoreWindowState);
  EXPECT_TRUE(IsAssociated());

  // An emptied count field reads as 0; the box shows the association.
  m_answers.Push([](HWND dialog) {
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_ASSOCIATE));
    SetItemText(dialog, IDC_HISTORY_COUNT, "");
    CheckDlgButton(dialog, IDC_ASSOCIATE, BST_UNCHECKED);
    PressButton(dialog, IDOK);
  });
  m_wnd->OnCommonSettings();
  EXPECT_EQ(0, m_wnd->m_settings.m_nHistoryCount);
  EXPECT_EQ(0, m_wnd->m_settings.m_aHistory.GetSize());
  EXPECT_FALSE(IsAssociated());
}

TEST_F(Commands, VersionBox) {
  OpenItems({});
  m_answers.Press(IDOK);
  m_wnd->OnCommand(ID_HELP_VERSION);
  ASSERT_EQ(1u, m_answers.Seen().size());
  EXPECT_EQ("バージョン情報", m_answers.Seen()[0].caption);
  EXPECT_EQ(std::string("Tovi  Version ") + TOVI_VERSION_TEXT, m_answers.Seen()[0].text);
}

// No ReadMe.txt beside the test program: the shell cannot open it, and says so.
TEST_F(Commands, ReadMeThatCannotBeOpenedGetsAMessageBox) {
  OpenItems({});
  m_answers.Press(IDOK);
  m_wnd->OnCommand(ID_HELP_README);
  ASSERT_EQ(1u, m_answers.Seen().size());
  EXPECT_EQ("エラー", m_answers.Seen()[0].caption);
  EXPECT_NE(std::string::npos, m_answers.Seen()[0].text.find("ReadMe.txt"));
}

}  // namespace
}  // namespace WindowTest
