// What the settings dialogs share: one live object per dialog class, which
// the dialog procedure reaches through a static pointer (the dialog is
// created with no parameter), and the OK / Cancel dispatch.
#pragma once

#include <windows.h>

#include "app/MessageBoxes.h"

// TDialog derives from CModalDialog<TDialog> and provides kTemplate,
// OnInitDialog(HWND), which fills the controls and names the one that
// takes the focus, and OnOK(); OnCommand(id) for its other buttons.
template <class TDialog>
class CModalDialog {
 public:
  CModalDialog(const CModalDialog&) = delete;
  CModalDialog& operator=(const CModalDialog&) = delete;

  // Runs the modal dialog; true when it was closed with OK.
  bool Show() {
    // The procedure would serve another live instance instead of this one.
    if (s_pLive != this) return false;
    return DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(TDialog::kTemplate), m_hWndOwner,
                           Procedure, 0) == IDOK;
  }

  HINSTANCE m_hInstance = nullptr;
  HWND m_hWnd = nullptr;  // null until the dialog is initialised
  HWND m_hWndOwner = nullptr;

 protected:
  CModalDialog(HINSTANCE hInstance, HWND hWndOwner)
      : m_hInstance(hInstance), m_hWndOwner(hWndOwner) {
    s_pLive = static_cast<TDialog*>(this);
  }

  ~CModalDialog() {
    // A later instance that took the pointer over keeps it.
    if (s_pLive == this) s_pLive = nullptr;
    m_hInstance = nullptr;
    m_hWnd = nullptr;
    m_hWndOwner = nullptr;
  }

  // Buttons other than OK and Cancel; false leaves the id to the platform.
  bool OnCommand(int) { return false; }

 private:
  static INT_PTR CALLBACK Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM) {
    TDialog* const dialog = s_pLive;
    if (!dialog) return FALSE;
    if (message == WM_INITDIALOG) {
      dialog->m_hWnd = hWnd;
      const int first = dialog->OnInitDialog(hWnd);
      CentreOnOwner(hWnd);
      // The platform's default focus is the first tab stop of the template,
      // a button in every dialog here. The dialog's own focus change
      // selects an edit's text and keeps OK the default button.
      SendMessageA(hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hWnd, first)), TRUE);
      return FALSE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
      case IDOK:
        dialog->OnOK();
        return TRUE;
      case IDCANCEL:
        EndDialog(hWnd, IDCANCEL);
        return TRUE;
      default:
        return dialog->OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
    }
  }

  static inline TDialog* s_pLive = nullptr;
};
