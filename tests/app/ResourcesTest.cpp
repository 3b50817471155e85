// The program's resources as Windows loads them: menus with their ids and
// texts, accelerators, the three dialog templates control by control, the
// icon and the split cursor.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/core/DialogValues.h"
#include "tests/app/WindowTestSupport.h"
#include "project/Item.h"
#include "app/resource.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

struct MenuRow {
  int id;  // 0: separator
  const char* text;
};

void ExpectMenu(HMENU menu, const std::vector<MenuRow>& rows) {
  ASSERT_EQ(static_cast<int>(rows.size()), GetMenuItemCount(menu));
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    SCOPED_TRACE(i);
    char text[200] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    if (rows[i].id == 0) {
      EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR);
    } else {
      EXPECT_EQ(static_cast<UINT>(rows[i].id), GetMenuItemID(menu, i));
      EXPECT_STREQ(rows[i].text, text);
    }
  }
}

std::string MenuTitle(HMENU menu, int position) {
  char text[200] = "";
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(ResourcesTest, MainMenuHasEveryCommand) {
  const HMENU bar = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_MAINMENU));
  ASSERT_NE(nullptr, bar);
  ASSERT_EQ(4, GetMenuItemCount(bar));
  EXPECT_EQ("ファイル(&F)", MenuTitle(bar, 0));
  ExpectMenu(GetSubMenu(bar, 0), {{40001, "プロジェクト新規作成(&N)\tCtrl+N"},
                                  {40002, "プロジェクトを開く(&O)...\tCtrl+O"},
                                  {40004, "上書き保存(&S)\tCtrl+S"},
                                  {40005, "名前をつけて保存(&A)..."},
                                  {0, nullptr},
                                  {40003, "終了(&X)"}});
  EXPECT_EQ("編集(&E)", MenuTitle(bar, 1));
  ExpectMenu(GetSubMenu(bar, 1), {{40007, "アイテムの追加(&A)..."},
                                  {40008, "アイテムの修正(&E)..."},
                                  {40009, "アイテムの削除(&D)"},
                                  {40012, "すべて選択(&L)\tCtrl+A"},
                                  {40013, "すべての選択解除(&U)\tCtrl+Shift+A"}});
  EXPECT_EQ("変換(&C)", MenuTitle(bar, 2));
  ExpectMenu(GetSubMenu(bar, 2), {{40010, "すべて変換(P)\tCtrl+P"},
                                  {40011, "選択したものを変換(T)\tCtrl+T"},
                                  {40020, "変更分を変換(&U)\tCtrl+U"},
                                  {0, nullptr},
                                  {40021, "自動変換(&W)"}});
  EXPECT_EQ("その他(&H)", MenuTitle(bar, 3));
  ExpectMenu(GetSubMenu(bar, 3), {{40019, "プロジェクト別設定(&S)..."},
                                  {40018, "共通設定(&C)..."},
                                  {0, nullptr},
                                  {40014, "Toviについて(&R)..."},
                                  {40006, "バージョン(&A)..."}});
  DestroyMenu(bar);
}

TEST(ResourcesTest, ContextMenuHasItsTwoPopups) {
  const HMENU menu = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_CONTEXTMENU));
  ASSERT_NE(nullptr, menu);
  ASSERT_EQ(2, GetMenuItemCount(menu));
  EXPECT_EQ("SingleSelect", MenuTitle(menu, 0));
  ExpectMenu(GetSubMenu(menu, 0), {{40008, "アイテムの修正(&E)..."},
                                   {40009, "アイテムの削除(&D)"},
                                   {40011, "変換処理(&P)"},
                                   {40016, "変換元ファイルの編集(&R)..."},
                                   {40017, "変換後ファイルの編集(&T)..."}});
  EXPECT_EQ("PluralSelect", MenuTitle(menu, 1));
  ExpectMenu(GetSubMenu(menu, 1),
             {{40011, "選択したアイテムを変換(&P)"}, {40009, "選択したアイテムを削除(&D)"}});
  DestroyMenu(menu);
}

TEST(ResourcesTest, AcceleratorsAreVirtualKeysWithoutInversion) {
  const HACCEL table = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ASSERT_NE(nullptr, table);
  ACCEL keys[16];
  const int count = CopyAcceleratorTableA(table, keys, 16);
  struct Want {
    WORD key;
    BYTE modifiers;
    WORD command;
  } const want[] = {
      {'N', FCONTROL, 40001}, {'O', FCONTROL, 40002},          {'S', FCONTROL, 40004},
      {'A', FCONTROL, 40012}, {'A', FCONTROL | FSHIFT, 40013}, {'P', FCONTROL, 40010},
      {'T', FCONTROL, 40011}, {'U', FCONTROL, 40020},
  };
  ASSERT_EQ(8, count);
  for (int i = 0; i < count; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(want[i].key, keys[i].key);
    EXPECT_EQ(want[i].command, keys[i].cmd);
    EXPECT_EQ(FVIRTKEY | FNOINVERT | want[i].modifiers,
              keys[i].fVirt & ~0x80);  // 0x80: end of table
  }
}

// The icon group's sizes as its directory lists them (a 256-pixel side is
// written as 0).
std::vector<int> IconSizes() {
  std::vector<int> sizes;
  const HRSRC found = FindResourceA(Instance(), MAKEINTRESOURCEA(IDI_TOVI), RT_GROUP_ICON);
  const BYTE* data =
      found ? static_cast<const BYTE*>(LockResource(LoadResource(Instance(), found))) : nullptr;
  if (!data) return sizes;
  const int count = data[4] | data[5] << 8;
  for (int i = 0; i < count; ++i) {
    const BYTE* entry = data + 6 + 14 * i;  // width, height, ..., resource id
    sizes.push_back(entry[0] ? entry[0] : 256);
  }
  return sizes;
}

TEST(ResourcesTest, IconAndSplitCursorLoad) {
  EXPECT_NE(nullptr, LoadIconA(Instance(), MAKEINTRESOURCEA(IDI_TOVI)));
  // The small and large icon at 100, 125, 150 and 200 %, and 64 and 256
  // (stored as PNG) for Explorer's views; each one loads at its size.
  const std::vector<int> sizes = {16, 20, 24, 32, 40, 48, 64, 256};
  EXPECT_EQ(sizes, IconSizes());
  for (int size : sizes) {
    SCOPED_TRACE(size);
    const HICON icon = static_cast<HICON>(
        LoadImageA(Instance(), MAKEINTRESOURCEA(IDI_TOVI), IMAGE_ICON, size, size, 0));
    ASSERT_NE(nullptr, icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(size, colour.bmWidth);
    EXPECT_EQ(size, colour.bmHeight);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  const HCURSOR cursor = LoadCursorA(Instance(), MAKEINTRESOURCEA(IDC_SPLIT));
  ASSERT_NE(nullptr, cursor);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(15u, info.xHotspot);
  EXPECT_EQ(15u, info.yHotspot);
  BITMAP mask = {};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(32, mask.bmWidth);
  EXPECT_EQ(64, mask.bmHeight);  // two colours: AND and XOR masks stacked
  EXPECT_EQ(nullptr, info.hbmColor);
  DeleteObject(info.hbmMask);
}

// One control of a dialog template, in template order.
struct ControlRow {
  const char* className;
  int id;
  const char* text;  // nullptr: not compared (the up-down control sets its buddy's)
  int x, y, width, height;
  bool checkRect;  // the up-down control moves itself and narrows its buddy
  LONG styleMask;
  LONG style;
};

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string ClassOf(HWND hWnd) {
  char name[64] = "";
  GetClassNameA(hWnd, name, sizeof name);
  return name;
}

void ExpectDialog(int resource, const char* caption, int width, int height, bool visible,
                  const std::vector<ControlRow>& rows) {
  const HWND dialog =
      CreateDialogParamA(Instance(), MAKEINTRESOURCEA(resource), nullptr, InertDialogProc, 0);
  ASSERT_NE(nullptr, dialog);
  char text[300] = "";
  GetWindowTextA(dialog, text, sizeof text);
  EXPECT_STREQ(caption, text);
  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  const LONG frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  EXPECT_EQ(frame, style & frame);
  EXPECT_EQ(visible, (style & WS_VISIBLE) != 0);
  RECT size = {0, 0, width, height};
  MapDialogRect(dialog, &size);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(size.right, client.right);
  EXPECT_EQ(size.bottom, client.bottom);
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ("ＭＳ Ｐゴシック", font.lfFaceName);

  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  ASSERT_EQ(rows.size(), children.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ControlRow& row = rows[i];
    const HWND child = children[i];
    SCOPED_TRACE(row.id);
    EXPECT_EQ(0, lstrcmpiA(row.className, ClassOf(child).c_str())) << ClassOf(child);
    EXPECT_EQ(row.id, static_cast<int>(static_cast<short>(GetDlgCtrlID(child))));
    if (row.text) {
      GetWindowTextA(child, text, sizeof text);
      EXPECT_STREQ(row.text, text);
    }
    if (row.checkRect) {
      // Converted field by field, as the dialog manager places controls.
      RECT want = {row.x, row.y, row.width, row.height};
      MapDialogRect(dialog, &want);
      RECT got;
      GetWindowRect(child, &got);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
      EXPECT_EQ(want.left, got.left);
      EXPECT_EQ(want.top, got.top);
      EXPECT_EQ(want.right, got.right - got.left);
      EXPECT_EQ(want.bottom, got.bottom - got.top);
    }
    EXPECT_EQ(row.style, GetWindowLongA(child, GWL_STYLE) & row.styleMask);
    if (ClassOf(child) == "Edit") {
      // Dialogs turn an edit's WS_BORDER into a sunken client edge.
      EXPECT_TRUE((GetWindowLongA(child, GWL_STYLE) & WS_BORDER) ||
                  (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    }
  }
  DestroyWindow(dialog);
}

constexpr LONG kButtonType = 0x0F;

TEST(ResourcesTest, CommonSettingsDialogTemplate) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  const LONG upDown =
      UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  ExpectDialog(
      IDD_COMMONSETTINGS, "Tovi 共通設定", 143, 107, false,
      {
          {"Button", 1, "OK", 29, 87, 50, 14, true, kButtonType, BS_DEFPUSHBUTTON},
          {"Button", 2, "ｷｬﾝｾﾙ", 85, 87, 50, 14, true, kButtonType, BS_PUSHBUTTON},
          {"Static", -1, "プロジェクトの履歴を保存/表示する数(&H)", 7, 7, 129, 8, true, 0, 0},
          {"Edit", 1019, nullptr, 51, 19, 24, 14, false, ES_AUTOHSCROLL, ES_AUTOHSCROLL},
          {"msctls_updown32", 1018, "Spin1", 76, 19, 9, 14, false, 0xFF, upDown},
          {"Static", -1, "( 0 ～ 9 )", 91, 21, 28, 8, true, 0, 0},
          {"Button", 1014, "ウィンドウの状態を保存・復元する(&R)", 7, 39, 128, 10, true,
           kButtonType, BS_AUTOCHECKBOX},
          {"Button", 1015, "『.tvx』をToviに関連付ける(&E)", 7, 61, 99, 10, true, kButtonType,
           BS_AUTOCHECKBOX},
      });
}

TEST(ResourcesTest, ItemDialogTemplate) {
  ExpectDialog(
      IDD_ITEM, "アイテム", 290, 155, true,
      {
          {"Button", 2, "ｷｬﾝｾﾙ", 233, 133, 50, 14, true, kButtonType, BS_PUSHBUTTON},
          {"Button", -1, "変換元ファイル(&R)", 7, 10, 276, 53, true, kButtonType, BS_GROUPBOX},
          {"Static", -1, "パス", 11, 26, 25, 10, true, 0, 0},
          {"Edit", 1002, "", 37, 24, 235, 14, true, ES_AUTOHSCROLL, ES_AUTOHSCROLL},
          {"Button", 1004, "ファイルの参照(&F)", 206, 43, 65, 14, true, kButtonType, BS_PUSHBUTTON},
          {"Button", -1, "変換後ファイル(&D)", 7, 70, 276, 53, true, kButtonType, BS_GROUPBOX},
          {"Static", -1, "パス", 11, 86, 25, 10, true, 0, 0},
          {"Edit", 1003, "", 37, 84, 235, 14, true, ES_AUTOHSCROLL, ES_AUTOHSCROLL},
          {"Button", 1007, "ファイルの参照(&B)", 206, 103, 65, 14, true, kButtonType,
           BS_PUSHBUTTON},
          {"Button", 1, "OK", 177, 134, 50, 14, true, kButtonType, BS_DEFPUSHBUTTON},
          {"Static", 1020,
           "パスは絶対パスで表示されていますが、\n一覧画面に戻ると相対パスに変換され表示されます。",
           7, 129, 170, 19, true, 0, 0},
      });
}

TEST(ResourcesTest, ProjectSettingsDialogTemplate) {
  const LONG radio = kButtonType | WS_GROUP | BS_MULTILINE | BS_TOP;
  ExpectDialog(
      IDD_PROJECTSETTINGS, "プロジェクト別　設定", 185, 226, false,
      {
          {"Button", 1, "OK", 73, 205, 50, 14, true, kButtonType, BS_DEFPUSHBUTTON},
          {"Button", 2, "ｷｬﾝｾﾙ", 128, 205, 50, 14, true, kButtonType, BS_PUSHBUTTON},
          {"Button", -1, "ファイルパスの指定方法(&P)", 7, 7, 171, 45, true, kButtonType,
           BS_GROUPBOX},
          {"Button", 1009, "プロジェクトファイルからの相対パスで指定", 12, 21, 139, 10, true, radio,
           BS_AUTORADIOBUTTON | WS_GROUP},
          {"Button", 1010, "絶対パスで指定", 12, 36, 63, 10, true, radio, BS_AUTORADIOBUTTON},
          {"Button", -1, "識別子の変換後の処理(&A)", 7, 58, 171, 92, true, kButtonType,
           BS_GROUPBOX},
          {"Button", 1011, "識別子を削除する", 12, 71, 69, 10, true, radio,
           BS_AUTORADIOBUTTON | WS_GROUP},
          {"Button", 1012, "識別子をコメント化して残す\n『#define』の場合,変換文字の前に記述", 10,
           95, 167, 21, true, radio, BS_AUTORADIOBUTTON | BS_MULTILINE | BS_TOP},
          {"Button", 1013, "識別子をコメント化して残す\n『#define』の場合,変換文字の後に記述", 12,
           122, 159, 22, true, radio, BS_AUTORADIOBUTTON | BS_MULTILINE | BS_TOP},
          {"Button", -1, "ソースファイルの文字コード(&E)", 7, 156, 171, 45, true, kButtonType,
           BS_GROUPBOX},
          {"Button", 1021, "Shift-JIS (CP932)", 12, 170, 80, 10, true, radio,
           BS_AUTORADIOBUTTON | WS_GROUP},
          {"Button", 1022, "UTF-8", 12, 185, 40, 10, true, radio, BS_AUTORADIOBUTTON},
      });
}

// Pixels a control leaves its text: its width less what the platform draws
// beside the text (a push button's edge, the box of a check box or radio
// button and the gap after it, a group box's frame), and a pixel of margin
// on either side.
int TextRoom(HWND control, HDC dc) {
  RECT client;
  GetClientRect(control, &client);
  const int width = client.right;
  if (ClassOf(control) != "Button") return width;
  SIZE zero = {};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  const int check = 12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1;
  switch (GetWindowLongA(control, GWL_STYLE) & kButtonType) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return width - 2 * 2 - 2;
    case BS_GROUPBOX:
      return width - 2 * 7 - 2;
    default:
      return width - check - zero.cx / 2 - 2;
  }
}

// Each line of the control's text measured in its own font, '&' marks
// taken out as they are drawn: true when every line fits across and all
// lines fit down.
void ExpectTextFits(HWND control) {
  char text[300] = "";
  GetWindowTextA(control, text, sizeof text);
  if (!text[0]) return;
  SCOPED_TRACE(text);
  const HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  int lines = 0;
  const std::string all = text;
  for (std::size_t start = 0; start <= all.size(); ++lines) {
    const std::size_t end = std::min(all.find('\n', start), all.size());
    const std::string line = all.substr(start, end - start);
    RECT needed = {0, 0, 0, 0};
    DrawTextA(dc, line.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_LE(needed.right, TextRoom(control, dc)) << "line " << lines << ": " << line;
    start = end + 1;
  }
  RECT client;
  GetClientRect(control, &client);
  const bool groupBox = ClassOf(control) == "Button" &&
                        (GetWindowLongA(control, GWL_STYLE) & kButtonType) == BS_GROUPBOX;
  if (!groupBox) {
    EXPECT_LE(lines * metrics.tmHeight, client.bottom);
  }
  SelectObject(dc, old);
  ReleaseDC(control, dc);
}

// Run at each DPI by tests/app/run-at-dpi: dialogs grow with their font.
TEST(ResourcesTest, TextsFitTheirControls) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  const int dpi = WindowTest::ExpectedDpi();
  // The texts the item dialog puts in when it opens, in both forms.
  const ItemDialogForm forms[] = {ItemDialogFormFor(CItem(), 0),
                                  ItemDialogFormFor(CItem("a", "b"), 1)};
  for (int resource : {IDD_COMMONSETTINGS, IDD_ITEM, IDD_PROJECTSETTINGS}) {
    SCOPED_TRACE(resource);
    const HWND dialog =
        CreateDialogParamA(Instance(), MAKEINTRESOURCEA(resource), nullptr, InertDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_NEAR(-9.0 * dpi / 72, font.lfHeight, 0.5);  // 9 points
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const std::string name = ClassOf(child);
      if (name == "Static" || name == "Button") ExpectTextFits(child);
    }
    if (resource == IDD_ITEM) {
      for (const ItemDialogForm& form : forms) {
        SetDlgItemTextA(dialog, IDOK, form.okText);
        ExpectTextFits(GetDlgItem(dialog, IDOK));
        if (!form.hint) continue;
        SetDlgItemTextA(dialog, IDC_ITEM_HINT, form.hint);
        ExpectTextFits(GetDlgItem(dialog, IDC_ITEM_HINT));
      }
    }
    DestroyWindow(dialog);
  }
}

}  // namespace
