// CCommonSettingsDialog: the application-wide settings (dialog 109): how
// many recent projects the history keeps, whether the window placement is
// restored, whether .tvx files are associated with the program.
#pragma once

#include <windows.h>

#include "app/ModalDialog.h"
#include "app/resource.h"

class CCommonSettingsDialog : public CModalDialog<CCommonSettingsDialog> {
 public:
  static constexpr int kTemplate = IDD_COMMONSETTINGS;

  CCommonSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int historyCount,
                        int restoreWindowState, int associate);

  // The values taken over by OK.
  void GetSettings(int* historyCount, int* restoreWindowState, int* associate) const;

  // Focus: the history count.
  int OnInitDialog(HWND hWnd);
  void OnOK();

  int m_nHistoryCount = 0;
  int m_bRestoreWindowState = 0;
  int m_bAssociate = 0;
};
