// CItemDialog: adds or edits one project item (dialog 105). The paths are
// shown absolute and handed back in the project's stored form.
#pragma once

#include <windows.h>

#include "Item.h"
#include "String.h"

class CItemDialog {
 public:
  // Both paths given (non-empty) open the edit form, otherwise the add form.
  CItemDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode, const Core::CString& directory,
              const Core::CString& source = Core::CString(), const Core::CString& destination = Core::CString());
  ~CItemDialog();
  CItemDialog(const CItemDialog&) = delete;
  CItemDialog& operator=(const CItemDialog&) = delete;

  // Runs the modal dialog; true when it was closed with OK.
  bool Show();
  // After OK: the item with its paths in the project's stored form.
  const CItem& GetItem() const { return m_item; }

  INT_PTR DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog(HWND hWnd);
  void OnOK();
  // Lets the user pick the file named in the edit editId.
  void OnBrowse(int editId, const char* title, DWORD flags);

  HINSTANCE m_hInstance = nullptr;
  HWND m_hWnd = nullptr;
  HWND m_hWndOwner = nullptr;
  CItem m_item;
  Core::CString m_strDirectory;
  int m_nPathMode = 0;
};
