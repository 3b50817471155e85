// CCommonSettingsDialog: the application-wide settings (dialog 109): how
// many recent projects the history keeps, whether the window placement is
// restored, whether .tvx files are associated with the program.
#pragma once

#include <windows.h>

class CCommonSettingsDialog {
 public:
  CCommonSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int historyCount, int restoreWindowState, int associate);
  ~CCommonSettingsDialog();
  CCommonSettingsDialog(const CCommonSettingsDialog&) = delete;
  CCommonSettingsDialog& operator=(const CCommonSettingsDialog&) = delete;

  // Runs the modal dialog; true when it was closed with OK.
  bool Show();
  // The values taken over by OK.
  void GetSettings(int* historyCount, int* restoreWindowState, int* associate) const;

  INT_PTR DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog(HWND hWnd);
  void OnOK();

  HINSTANCE m_hInstance = nullptr;
  HWND m_hWnd = nullptr;
  HWND m_hWndOwner = nullptr;
  int m_nHistoryCount = 0;
  int m_bRestoreWindowState = 0;
  int m_bAssociate = 0;
};
