// New, Open, Save, Save As, Exit and the save-changes question that guards
// every way unsaved changes could be lost.
#include <windows.h>
#include <commdlg.h>

#include "foundation/FileSystem.h"
#include "app/MainWnd.h"
#include "app/MessageBoxes.h"
#include "foundation/Path.h"
#include "app/core/SaveAsName.h"

namespace {

// File dialogs work on a name buffer of this size (499 bytes at most).
constexpr int kFileNameSize = 500;

// Shows the open or save dialog with `initial` as the file name; false
// when the user cancels.
bool AskFileName(HWND owner, const char* filter, DWORD flags, bool save,
                 const Core::CString& initial, char (&name)[kFileNameSize]) {
  lstrcpynA(name, initial.GetText(), kFileNameSize);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = name;
  ofn.nMaxFile = kFileNameSize;
  ofn.Flags = flags;
  return (save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn)) != 0;
}

// Brings relative item paths from the old project folder to the new one,
// so that Save As into another folder keeps naming the same files.
Core::CArray<CItem> RebasedItems(const CDocument& doc, const Core::CString& newDirectory) {
  Core::CArray<CItem> items = doc.m_aItems;
  for (int i = 0; i < items.GetSize(); ++i) {
    CItem& item = items.ElementAt(i);
    item.m_strSource =
        Core::RelativePath(Core::AbsolutePath(item.m_strSource, doc.m_strDirectory), newDirectory);
    item.m_strDestination = Core::RelativePath(
        Core::AbsolutePath(item.m_strDestination, doc.m_strDirectory), newDirectory);
  }
  return items;
}

}  // namespace

bool CMainWnd::ReportDocumentResult(bool succeeded) {
  if (!succeeded) AppendLog(m_doc.m_strMessage);
  return succeeded;
}

bool CMainWnd::QuerySave() {
  if (!m_doc.m_nModified) return true;
  const int answer = ShowMessageBox(m_hWnd, "更新されています。保存しますか？", "確認",
                                    MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return false;
  if (answer != IDYES) return true;
  if (m_doc.m_strPath.IsEmpty()) {
    OnSaveAs();
    // A cancelled Save As after Yes must not let the changes be thrown away.
    return !m_doc.m_nModified;
  }
  if (!ReportDocumentResult(m_doc.Save())) return false;
  UpdateTitle();
  return true;
}

void CMainWnd::OnNew() {
  if (!QuerySave()) return;
  m_doc.m_strMessage.Empty();
  m_doc.Reset(1, 1);
  SendMessageA(m_hWndList, LVM_DELETEALLITEMS, 0, 0);
  SetFocus(m_hWndList);
  StopAutoConvert();
  UpdateTitle();
  ClearLog();
}

void CMainWnd::OnOpen(const char* path) {
  if (!QuerySave()) return;
  // A path passed in (the history, the command line) is used whole.
  Core::CString name(path);
  if (!path) {
    char chosen[kFileNameSize] = "";
    if (!AskFileName(m_hWnd, "Toviプロジェクトファイル (*.tvx)\0*.tvx\0",
                     OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, false, m_doc.m_strPath, chosen)) {
      return;
    }
    name = chosen;
  }
  if (!ReportDocumentResult(m_doc.Load(name.GetText()) != 0)) return;
  RefillItemList();
  SetFocus(m_hWndList);
  UpdateTitle();
  ClearLog();
  if (!name.IsEmpty()) AddToHistory(name);
  RebuildHistoryMenu();
  // The automatic conversion goes on with the project now open.
  if (m_bAutoConvert) StartAutoConvert();
}

void CMainWnd::OpenFromHistory(int index) {
  if (index < 0 || index >= m_settings.m_aHistory.GetSize()) return;
  const Core::CString path = m_settings.m_aHistory[index];
  // A file that may be there is opened, and a failure says why; only one
  // that is surely gone leaves the history.
  if (!path.IsEmpty() && Core::QueryPath(path) != Core::PathState::kMissing) {
    OnOpen(path.GetText());
    return;
  }
  m_settings.m_aHistory.RemoveAt(index);
  Core::CString line;
  line.Format("ERROR  : ファイル '%s' がありません.\r\n", path.GetText());
  AppendLog(line);
  RebuildHistoryMenu();
}

void CMainWnd::OnSave() {
  if (!m_doc.m_nModified) return;
  if (m_doc.m_strPath.IsEmpty()) {
    OnSaveAs();
    return;
  }
  if (ReportDocumentResult(m_doc.Save())) UpdateTitle();
}

void CMainWnd::OnSaveAs() {
  char chosen[kFileNameSize] = "";
  if (!AskFileName(m_hWnd, "TVXファイル (*.tvx)\0*.tvx\0", OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                   true, m_doc.m_strPath, chosen)) {
    return;
  }
  const Core::CString name = SaveAsName(chosen);
  const Core::CString directory = Core::DirectoryOf(name);
  const bool rebase = m_doc.m_nPathMode != 0 && !(directory == m_doc.m_strDirectory);
  Core::CArray<CItem> kept;
  if (rebase) {
    kept = m_doc.m_aItems;
    m_doc.m_aItems = RebasedItems(m_doc, directory);
  }
  if (!ReportDocumentResult(m_doc.Save(name.GetText()))) {
    if (rebase) m_doc.m_aItems = kept;
    return;
  }
  if (rebase) RefillItemList(true);
  UpdateTitle();
  ItemsChanged();
  if (!name.IsEmpty()) AddToHistory(name);
  RebuildHistoryMenu();
}

void CMainWnd::OnExit() {
  // Destroying the window runs OnDestroy's shut-down steps exactly once.
  if (QuerySave()) DestroyWindow(m_hWnd);
}

bool CMainWnd::OnClose() { return QuerySave(); }
