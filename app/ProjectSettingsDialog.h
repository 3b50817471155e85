// CProjectSettingsDialog: the current project's path mode, directive
// disposition and source encoding (dialog 110).
#pragma once

#include <windows.h>

#include "app/ModalDialog.h"
#include "app/resource.h"

class CProjectSettingsDialog : public CModalDialog<CProjectSettingsDialog> {
 public:
  static constexpr int kTemplate = IDD_PROJECTSETTINGS;

  CProjectSettingsDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode, int directiveMode,
                         int sourceCodePage);

  // The values taken over by OK.
  void GetSettings(int* pathMode, int* directiveMode, int* sourceCodePage) const;

  // Focus: the checked path button.
  int OnInitDialog(HWND hWnd);
  void OnOK();

  int m_nPathMode = 0;
  int m_nDirectiveMode = 0;
  int m_nSourceCodePage = 0;
};
