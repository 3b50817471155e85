// CProjectSettingsDialog: the current project's path mode and directive
// disposition (dialog 110).
#pragma once

#include <windows.h>

#include "app/ModalDialog.h"
#include "app/resource.h"

class CProjectSettingsDialog : public CModalDialog<CProjectSettingsDialog> {
 public:
  static constexpr int kTemplate = IDD_PROJECTSETTINGS;

  CProjectSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode, int directiveMode);

  // The values taken over by OK.
  void GetSettings(int* pathMode, int* directiveMode) const;

  // Focus: the checked path button.
  int OnInitDialog(HWND hWnd);
  void OnOK();

  int m_nPathMode = 0;
  int m_nDirectiveMode = 0;
};
