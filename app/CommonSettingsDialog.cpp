#include "CommonSettingsDialog.h"

#include <commctrl.h>

#include "DialogValues.h"
#include "String.h"
#include "resource.h"

namespace {

// The live dialog object; the dialog procedure knows no other way to it.
CCommonSettingsDialog* g_pCommonSettingsDialog = nullptr;

INT_PTR CALLBACK CommonSettingsDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_pCommonSettingsDialog) return FALSE;
  return g_pCommonSettingsDialog->DialogProc(hWnd, message, wParam, lParam);
}

}  // namespace

CCommonSettingsDialog::CCommonSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int historyCount,
                                             int restoreWindowState, int associate)
    : m_hInstance(hInstance),
      m_hWndOwner(hWndOwner),
      m_nHistoryCount(historyCount),
      m_bRestoreWindowState(restoreWindowState),
      m_bAssociate(associate) {
  g_pCommonSettingsDialog = this;
}

CCommonSettingsDialog::~CCommonSettingsDialog() {
  // A later instance that took the pointer over keeps it.
  if (g_pCommonSettingsDialog == this) g_pCommonSettingsDialog = nullptr;
  m_hInstance = nullptr;
  m_hWnd = nullptr;
  m_hWndOwner = nullptr;
}

bool CCommonSettingsDialog::Show() {
  // The procedure would serve another live instance instead of this one.
  if (g_pCommonSettingsDialog != this) return false;
  return DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(IDD_COMMONSETTINGS), m_hWndOwner, CommonSettingsDialogProc, 0) ==
         IDOK;
}

void CCommonSettingsDialog::GetSettings(int* historyCount, int* restoreWindowState, int* associate) const {
  *historyCount = m_nHistoryCount;
  *restoreWindowState = m_bRestoreWindowState;
  *associate = m_bAssociate;
}

INT_PTR CCommonSettingsDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(hWnd);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          OnOK();
          return TRUE;
        case IDCANCEL:
          EndDialog(hWnd, IDCANCEL);
          return TRUE;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

void CCommonSettingsDialog::OnInitDialog(HWND hWnd) {
  m_hWnd = hWnd;
  SendDlgItemMessageA(hWnd, IDC_HISTORY_SPIN, UDM_SETRANGE32, 0, kMaxHistoryField);
  SendDlgItemMessageA(hWnd, IDC_HISTORY_COUNT, EM_LIMITTEXT, 1, 0);
  SetDlgItemInt(hWnd, IDC_HISTORY_COUNT, static_cast<UINT>(m_nHistoryCount), FALSE);
  CheckDlgButton(hWnd, IDC_RESTORE_WINDOW, m_bRestoreWindowState ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hWnd, IDC_ASSOCIATE, m_bAssociate ? BST_CHECKED : BST_UNCHECKED);
}

void CCommonSettingsDialog::OnOK() {
  // The whole text, however it got there: the one-character limit only
  // holds for typing, and a cut text could read as an accepted count.
  const HWND hWndCount = GetDlgItem(m_hWnd, IDC_HISTORY_COUNT);
  const int length = GetWindowTextLengthA(hWndCount);
  Core::CString text;
  if (text.AllocBuffer(length)) GetWindowTextA(hWndCount, text.GetBuffer(), length + 1);
  const int count = ReadHistoryField(text.GetText());
  if (!HistoryCountAccepted(count)) {
    // The count is taken only with the rest, so a Cancel after this box
    // hands back nothing refused.
    MessageBoxA(m_hWnd, kHistoryRangeMessage, kHistoryRangeCaption, MB_OK | MB_SYSTEMMODAL);
    return;
  }
  m_nHistoryCount = count;
  m_bRestoreWindowState = IsDlgButtonChecked(m_hWnd, IDC_RESTORE_WINDOW) == BST_CHECKED ? 1 : 0;
  m_bAssociate = IsDlgButtonChecked(m_hWnd, IDC_ASSOCIATE) == BST_CHECKED ? 1 : 0;
  EndDialog(m_hWnd, IDOK);
}
