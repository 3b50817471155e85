#include "app/ItemDialog.h"

#include <commdlg.h>

#include "app/core/DialogValues.h"
#include "app/WindowText.h"

namespace {

// Paths are browsed through buffers of this size.
constexpr int kPathBufferSize = 500;

}  // namespace

CItemDialog::CItemDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode,
                         const Core::CString& directory, const Core::CString& source,
                         const Core::CString& destination)
    : CModalDialog(hInstance, hWndOwner),
      m_item(ItemForDialog(directory, source, destination)),
      m_strDirectory(directory),
      m_nPathMode(pathMode) {}

bool CItemDialog::OnCommand(int id) {
  if (id == IDC_BROWSE_SOURCE) {
    OnBrowse(IDC_SOURCE_PATH, "変換元となるファイルを選択してください",
             OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    return true;
  }
  if (id == IDC_BROWSE_DESTINATION) {
    // The destination need not exist yet.
    OnBrowse(IDC_DESTINATION_PATH, "変換後のデータを保存するファイルを選択してください",
             OFN_HIDEREADONLY);
    return true;
  }
  return false;
}

int CItemDialog::OnInitDialog(HWND hWnd) {
  const ItemDialogForm form = ItemDialogFormFor(m_item, m_nPathMode);
  SetWindowTextA(hWnd, form.title);
  SetDlgItemTextA(hWnd, IDOK, form.okText);
  SetDlgItemTextA(hWnd, IDC_SOURCE_PATH, m_item.m_strSource.GetText());
  SetDlgItemTextA(hWnd, IDC_DESTINATION_PATH, m_item.m_strDestination.GetText());
  if (form.hint) SetDlgItemTextA(hWnd, IDC_ITEM_HINT, form.hint);
  return IDC_SOURCE_PATH;
}

void CItemDialog::OnOK() {
  const Core::CString source = ReadDialogItemText(m_hWnd, IDC_SOURCE_PATH);
  const Core::CString destination = ReadDialogItemText(m_hWnd, IDC_DESTINATION_PATH);
  const char* warning = AcceptItem(m_strDirectory, m_nPathMode, source, destination, &m_item);
  if (warning) {
    ShowMessageBox(m_hWnd, warning, kItemWarningCaption, MB_OK | MB_ICONWARNING);
    return;
  }
  EndDialog(m_hWnd, IDOK);
}

void CItemDialog::OnBrowse(int editId, const char* title, DWORD flags) {
  char path[kPathBufferSize] = "";
  GetDlgItemTextA(m_hWnd, editId, path, kPathBufferSize);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_hWnd;
  ofn.lpstrFilter = "すべてのファイル (*.*)\0*.*\0";
  ofn.lpstrFile = path;
  ofn.nMaxFile = kPathBufferSize;
  ofn.lpstrTitle = title;
  ofn.Flags = flags;
  if (GetOpenFileNameA(&ofn)) SetDlgItemTextA(m_hWnd, editId, path);
}
