// CProjectSettingsDialog: the current project's path mode and directive
// disposition (dialog 110).
#pragma once

#include <windows.h>

class CProjectSettingsDialog {
 public:
  CProjectSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode, int directiveMode);
  ~CProjectSettingsDialog();
  CProjectSettingsDialog(const CProjectSettingsDialog&) = delete;
  CProjectSettingsDialog& operator=(const CProjectSettingsDialog&) = delete;

  // Runs the modal dialog; true when it was closed with OK.
  bool Show();
  // The values taken over by OK.
  void GetSettings(int* pathMode, int* directiveMode) const;

  INT_PTR DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog(HWND hWnd);
  void OnOK();

  HINSTANCE m_hInstance = nullptr;
  HWND m_hWnd = nullptr;
  HWND m_hWndOwner = nullptr;
  int m_nPathMode = 0;
  int m_nDirectiveMode = 0;
};
