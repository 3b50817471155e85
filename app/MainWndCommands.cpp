// The item commands, the list's mouse gestures and menu enabling.
#include <windows.h>
#include <shellapi.h>

#include "app/Association.h"
#include "app/CommonSettingsDialog.h"
#include "engine/ConversionRun.h"
#include "ToviVersion.h"
#include "app/core/ItemCommands.h"
#include "app/ItemDialog.h"
#include "app/core/LogText.h"
#include "app/MainWnd.h"
#include "app/core/MenuState.h"
#include "app/MessageBoxes.h"
#include "app/ProjectSettingsDialog.h"
#include "app/WindowText.h"
#include "app/resource.h"

namespace {

// The run reports through the main window's log. The run keeps the message
// loop away, so now and then the pane catches up and the window paints what
// needs it; looking at the queue keeps the system from taking the window
// for hung.
class CMainWndLog : public ILogSink {
 public:
  explicit CMainWndLog(CMainWnd* wnd) : m_wnd(wnd), m_pace(GetTickCount64()) {}
  void AppendLog(const Core::CString& text) override {
    m_wnd->AppendLog(text);
    const ULONGLONG start = GetTickCount64();
    if (!m_pace.Due(start)) return;
    m_wnd->OnLogUpdate();
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    RedrawWindow(m_wnd->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    m_pace.Shown(start, GetTickCount64());
  }

 private:
  CMainWnd* m_wnd;
  CLogShowPace m_pace;
};

UINT IconStyle(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::kQuestion:
      return MB_ICONQUESTION;
    case BoxIcon::kError:
      return MB_ICONERROR;
    case BoxIcon::kInformation:
      break;
  }
  return MB_ICONINFORMATION;
}

int ShowBox(HWND owner, const ItemMessageBox& box) {
  return ShowMessageBox(owner, box.text, box.caption,
                        (box.okCancel ? MB_OKCANCEL : MB_OK) | IconStyle(box.icon));
}

}  // namespace

void CMainWnd::OnCommand(int id) {
  if (id >= ID_HISTORY_FIRST && id <= ID_HISTORY_LAST) {
    OpenFromHistory(id - ID_HISTORY_FIRST);
    return;
  }
  switch (id) {
    case ID_FILE_NEW:
      OnNew();
      break;
    case ID_FILE_OPEN:
      OnOpen();
      break;
    case ID_FILE_EXIT:
      OnExit();
      break;
    case ID_FILE_SAVE:
      OnSave();
      break;
    case ID_FILE_SAVEAS:
      OnSaveAs();
      break;
    case ID_HELP_VERSION:
      OnVersion();
      break;
    case ID_EDIT_ADDITEM:
      OnAddItem();
      break;
    case ID_EDIT_EDITITEM:
      OnEditItem();
      break;
    case ID_EDIT_DELETEITEMS:
      OnDeleteItems();
      break;
    case ID_CONVERT_ALL:
      OnConvertAll();
      break;
    case ID_CONVERT_SELECTED:
      OnConvertSelected();
      break;
    case ID_CONVERT_CHANGED:
      OnConvertChanged();
      break;
    case ID_CONVERT_AUTO:
      OnAutoConvert();
      break;
    case ID_EDIT_SELECTALL:
      OnSelectAll();
      break;
    case ID_EDIT_DESELECTALL:
      OnDeselectAll();
      break;
    case ID_HELP_README:
      OnReadMe();
      break;
    case ID_ITEM_EDITSOURCE:
      OnEditSource();
      break;
    case ID_ITEM_EDITDESTINATION:
      OnEditDestination();
      break;
    case ID_TOOLS_COMMONSETTINGS:
      OnCommonSettings();
      break;
    case ID_TOOLS_PROJECTSETTINGS:
      OnProjectSettings();
      break;
    default:
      break;
  }
}

int CMainWnd::SelectedCount() const {
  return static_cast<int>(SendMessageA(m_hWndList, LVM_GETSELECTEDCOUNT, 0, 0));
}

int CMainWnd::RowCount() const {
  return static_cast<int>(SendMessageA(m_hWndList, LVM_GETITEMCOUNT, 0, 0));
}

int CMainWnd::NextSelectedRow(int after) const {
  return static_cast<int>(
      SendMessageA(m_hWndList, LVM_GETNEXTITEM, after, MAKELPARAM(LVNI_SELECTED, 0)));
}

void CMainWnd::RowTexts(int row, Core::CString* source, Core::CString* destination) const {
  *source = ReadListText(m_hWndList, row, 0);
  *destination = ReadListText(m_hWndList, row, 1);
}

void CMainWnd::SetRow(int row, const CItem& item, bool insert) {
  LVITEMA text = {};
  text.mask = LVIF_TEXT;
  text.iItem = row;
  text.pszText = const_cast<char*>(item.m_strSource.GetText());
  if (insert) {
    row = static_cast<int>(
        SendMessageA(m_hWndList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&text)));
  } else {
    SendMessageA(m_hWndList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&text));
  }
  text.iSubItem = 1;
  text.pszText = const_cast<char*>(item.m_strDestination.GetText());
  SendMessageA(m_hWndList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&text));
}

void CMainWnd::RefillItemList(bool keepSelection) {
  Core::CArray<int> selected;
  const int focused = static_cast<int>(
      SendMessageA(m_hWndList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  for (int row = NextSelectedRow(-1); keepSelection && row >= 0; row = NextSelectedRow(row)) {
    if (!selected.Add(row)) break;
  }
  SendMessageA(m_hWndList, LVM_DELETEALLITEMS, 0, 0);
  FillItemList();
  if (!keepSelection) return;
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  for (int i = 0; i < selected.GetSize(); ++i) {
    SendMessageA(m_hWndList, LVM_SETITEMSTATE, selected[i], reinterpret_cast<LPARAM>(&state));
  }
  if (focused >= 0) {
    state.stateMask = state.state = LVIS_FOCUSED;
    SendMessageA(m_hWndList, LVM_SETITEMSTATE, focused, reinterpret_cast<LPARAM>(&state));
    SendMessageA(m_hWndList, LVM_ENSUREVISIBLE, focused, TRUE);
  }
}

void CMainWnd::SelectOnlyRow(int row) {
  SetFocus(m_hWndList);
  SendMessageA(m_hWndList, LVM_ENSUREVISIBLE, row, TRUE);
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(m_hWndList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&state));
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(m_hWndList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

void CMainWnd::OnAddItem() { AddItem(Core::CString()); }

bool CMainWnd::AddItem(const Core::CString& source) {
  CItemDialog dialog(m_hInstance, m_hWnd, m_doc.m_nPathMode, m_doc.m_strDirectory, source);
  if (!dialog.Show()) return false;
  const CItem& item = dialog.GetItem();
  // Row and item must stay one to one: without memory for the item, no row.
  if (!m_doc.AddItem(item)) return false;
  const int row = RowCount();
  SetRow(row, item, true);
  SelectOnlyRow(row);
  UpdateTitle();
  ItemsChanged();
  return true;
}

void CMainWnd::OnEditItem() {
  if (SelectedCount() != 1) {
    ShowBox(m_hWnd, EditSelectionBox());
    return;
  }
  const int row = NextSelectedRow(-1);
  Core::CString source;
  Core::CString destination;
  RowTexts(row, &source, &destination);
  CItemDialog dialog(m_hInstance, m_hWnd, m_doc.m_nPathMode, m_doc.m_strDirectory, source,
                     destination);
  if (!dialog.Show()) return;
  const CItem& item = dialog.GetItem();
  if (!ReplaceMatchingItem(&m_doc, source, destination, item)) {
    AppendLog(kEditNotFoundLog);
    return;
  }
  SendMessageA(m_hWndList, LVM_DELETEITEM, row, 0);
  SetRow(row, item, true);
  SelectOnlyRow(row);
  UpdateTitle();
  ItemsChanged();
}

void CMainWnd::OnDeleteItems() {
  const int selected = SelectedCount();
  const ItemMessageBox question = DeleteQuestionBox(selected);
  if (question.text) {
    const int answer = ShowBox(m_hWnd, question);
    if (selected == 0 || answer != IDOK) return;
  }
  const int first = NextSelectedRow(-1);
  for (int row = first; row >= 0; row = NextSelectedRow(-1)) {
    Core::CString source;
    Core::CString destination;
    RowTexts(row, &source, &destination);
    if (!RemoveMatchingItem(&m_doc, source, destination)) AppendLog(kDeleteNotFoundLog);
    SendMessageA(m_hWndList, LVM_DELETEITEM, row, 0);
  }
  // The keys go on from the row that took the first deleted one's place.
  // It is focused, not selected: a second Delete must not remove it unasked.
  SetFocus(m_hWndList);
  const int rows = RowCount();
  if (rows > 0) {
    const int next = first < rows ? first : rows - 1;
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_FOCUSED;
    SendMessageA(m_hWndList, LVM_SETITEMSTATE, next, reinterpret_cast<LPARAM>(&state));
    SendMessageA(m_hWndList, LVM_ENSUREVISIBLE, next, TRUE);
  }
  UpdateTitle();
  ItemsChanged();
}

void CMainWnd::OnSelectAll() {
  SetFocus(m_hWndList);
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  const int rows = RowCount();
  for (int row = 0; row < rows; ++row) {
    SendMessageA(m_hWndList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }
}

void CMainWnd::OnDeselectAll() {
  SetFocus(m_hWndList);
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED;
  SendMessageA(m_hWndList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
               reinterpret_cast<LPARAM>(&state));
}

ConversionSettings CMainWnd::RunSettings() const {
  ConversionSettings settings;
  settings.directory = m_doc.m_strDirectory;
  settings.pathMode = m_doc.m_nPathMode;
  settings.disposition = m_doc.m_nDirectiveMode;
  settings.sourceCodePage = m_doc.m_nSourceCodePage;
  return settings;
}

void CMainWnd::ConvertItems(const Core::CArray<int>& indices, bool onlyChanged) {
  ConversionSettings settings = RunSettings();
  settings.onlyChanged = onlyChanged;
  settings.lookAtInputs = m_bAutoConvert;  // the watch starts from how the files stood
  CMainWndLog log(this);
  // A long run keeps the message loop away; show the wait cursor meanwhile.
  const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  m_bConverting = true;
  // While the automatic conversion is on, every run tells it what the items read.
  ::ConvertItems(m_doc.m_aItems, indices, settings, log,
                 m_bAutoConvert ? &m_autoConversion : nullptr);
  m_bConverting = false;
  SetCursor(previous);
  if (m_bAutoConvert && !WatchItemFiles()) FailAutoConvert();
}

void CMainWnd::OnConvertAll() {
  Core::CArray<int> indices;
  const int count = m_doc.GetItemCount();
  if (!indices.SetSize(count)) return;
  for (int i = 0; i < count; ++i) indices[i] = i;
  ConvertItems(indices);
}

void CMainWnd::OnConvertChanged() {
  Core::CArray<int> indices;
  const int count = m_doc.GetItemCount();
  if (!indices.SetSize(count)) return;
  for (int i = 0; i < count; ++i) indices[i] = i;
  ConvertItems(indices, true);
}

void CMainWnd::OnConvertSelected() {
  Core::CArray<int> indices;
  for (int row = NextSelectedRow(-1); row >= 0; row = NextSelectedRow(row)) {
    if (!indices.Add(row)) return;
  }
  ConvertItems(indices);
}

void CMainWnd::OnProjectSettings() {
  CProjectSettingsDialog dialog(m_hInstance, m_hWnd, m_doc.m_nPathMode, m_doc.m_nDirectiveMode,
                                m_doc.m_nSourceCodePage);
  if (!dialog.Show()) return;
  dialog.GetSettings(&m_doc.m_nPathMode, &m_doc.m_nDirectiveMode, &m_doc.m_nSourceCodePage);
  m_doc.m_nModified = 1;
  UpdateTitle();
  m_doc.ConvertItemPaths();
  RefillItemList(true);
  SetFocus(m_hWndList);
  ItemsChanged();
}

void CMainWnd::OnCommonSettings() {
  const int associate = IsAssociated() ? 1 : 0;
  CCommonSettingsDialog dialog(m_hInstance, m_hWnd, m_settings.m_nHistoryCount,
                               m_settings.m_bRestoreWindowState, associate);
  if (!dialog.Show()) return;
  int historyCount = 0;
  int restore = 0;
  int associateNow = 0;
  dialog.GetSettings(&historyCount, &restore, &associateNow);
  m_settings.m_bRestoreWindowState = restore;
  m_settings.SetHistoryCount(historyCount);
  SetAssociation(associateNow != 0, m_strModulePath);
}

void CMainWnd::OpenWithShell(const Core::CString& path, const Core::CString& folder) {
  // ShellExecuteA reports success with a value above 32.
  const INT_PTR result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(m_hWnd, nullptr, path.GetText(), nullptr, folder.GetText(), SW_SHOWNORMAL));
  if (result > 32) return;
  Core::CString text;
  text.Format("ファイル '%s' を開けませんでした.", path.GetText());
  ShowMessageBox(m_hWnd, text.GetText(), "エラー", MB_OK | MB_ICONERROR);
}

void CMainWnd::OnReadMe() {
  OpenWithShell(m_strModuleDir + Core::CString("ReadMe.txt"), m_strModuleDir);
}

void CMainWnd::OnVersion() {
  Core::CString text;
  text.Format("Tovi  Version %s", TOVI_VERSION_TEXT);
  ShowMessageBox(m_hWnd, text.GetText(), "バージョン情報", MB_OK | MB_ICONINFORMATION);
}

void CMainWnd::OpenItemFile(bool destination) {
  if (SelectedCount() != 1) return;
  const int row = NextSelectedRow(-1);
  if (row < 0 || row >= m_doc.GetItemCount()) return;
  const CItem& item = m_doc.GetItem(row);
  const Core::CString& path = destination ? item.m_strDestination : item.m_strSource;
  OpenWithShell(path, ItemFileFolder(path, m_doc.m_strDirectory));
}

void CMainWnd::OnEditSource() { OpenItemFile(false); }

void CMainWnd::OnEditDestination() { OpenItemFile(true); }

HMENU CMainWnd::ContextMenuForSelection() const {
  const int selected = SelectedCount();
  return selected == 1 ? m_hMenuSingle : selected >= 2 ? m_hMenuPlural : nullptr;
}

void CMainWnd::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_ITEMLIST) return;
  if (header.code == static_cast<UINT>(NM_DBLCLK)) {
    const int selected = SelectedCount();
    if (selected == 0)
      OnAddItem();
    else if (selected == 1)
      OnEditItem();
  } else if (header.code == static_cast<UINT>(NM_RCLICK)) {
    const HMENU popup = ContextMenuForSelection();
    if (!popup) return;
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, m_hWnd,
                   nullptr);
  } else if (header.code == static_cast<UINT>(LVN_KEYDOWN)) {
    OnListKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
  }
}

void CMainWnd::OnInitMenuPopup(HMENU popup, int position, bool windowMenu) {
  if (windowMenu) return;
  const PopupMenuState state =
      PopupItemStates(position, SelectedCount(), RowCount(), m_doc.GetItemCount(), m_bAutoConvert);
  for (int i = 0; i < state.count; ++i) {
    EnableMenuItem(popup, state.items[i].id,
                   MF_BYCOMMAND | (state.items[i].enabled ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(popup, state.items[i].id,
                  MF_BYCOMMAND | (state.items[i].checked ? MF_CHECKED : MF_UNCHECKED));
  }
}
