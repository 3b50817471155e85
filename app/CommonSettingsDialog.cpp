#include "app/CommonSettingsDialog.h"

#include <commctrl.h>

#include "app/core/DialogValues.h"
#include "foundation/String.h"

CCommonSettingsDialog::CCommonSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int historyCount,
                                             int restoreWindowState, int associate)
    : CModalDialog(hInstance, hWndOwner),
      m_nHistoryCount(historyCount),
      m_bRestoreWindowState(restoreWindowState),
      m_bAssociate(associate) {}

void CCommonSettingsDialog::GetSettings(int* historyCount, int* restoreWindowState,
                                        int* associate) const {
  *historyCount = m_nHistoryCount;
  *restoreWindowState = m_bRestoreWindowState;
  *associate = m_bAssociate;
}

int CCommonSettingsDialog::OnInitDialog(HWND hWnd) {
  SendDlgItemMessageA(hWnd, IDC_HISTORY_SPIN, UDM_SETRANGE32, 0, kMaxHistoryField);
  SendDlgItemMessageA(hWnd, IDC_HISTORY_COUNT, EM_LIMITTEXT, 1, 0);
  SetDlgItemInt(hWnd, IDC_HISTORY_COUNT, static_cast<UINT>(m_nHistoryCount), FALSE);
  CheckDlgButton(hWnd, IDC_RESTORE_WINDOW, m_bRestoreWindowState ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hWnd, IDC_ASSOCIATE, m_bAssociate ? BST_CHECKED : BST_UNCHECKED);
  return IDC_HISTORY_COUNT;
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
    ShowMessageBox(m_hWnd, kHistoryRangeMessage, kHistoryRangeCaption,
                   MB_OK | MB_SYSTEMMODAL | MB_ICONERROR);
    return;
  }
  m_nHistoryCount = count;
  m_bRestoreWindowState = IsDlgButtonChecked(m_hWnd, IDC_RESTORE_WINDOW) == BST_CHECKED ? 1 : 0;
  m_bAssociate = IsDlgButtonChecked(m_hWnd, IDC_ASSOCIATE) == BST_CHECKED ? 1 : 0;
  EndDialog(m_hWnd, IDOK);
}
