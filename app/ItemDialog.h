// CItemDialog: adds or edits one project item (dialog 105). The paths are
// shown absolute and handed back in the project's stored form.
#pragma once

#include <windows.h>

#include "project/Item.h"
#include "app/ModalDialog.h"
#include "foundation/String.h"
#include "app/resource.h"

class CItemDialog : public CModalDialog<CItemDialog> {
 public:
  static constexpr int kTemplate = IDD_ITEM;

  // Both paths given (non-empty) open the edit form, otherwise the add form,
  // which shows a given source (a file dropped on the list).
  CItemDialog(HINSTANCE hInstance, HWND hWndOwner, int pathMode, const Core::CString& directory,
              const Core::CString& source = Core::CString(),
              const Core::CString& destination = Core::CString());

  // After OK: the item with its paths in the project's stored form.
  const CItem& GetItem() const { return m_item; }

  // Focus: the source path.
  int OnInitDialog(HWND hWnd);
  void OnOK();
  // The two browse buttons.
  bool OnCommand(int id);
  // Lets the user pick the file named in the edit editId.
  void OnBrowse(int editId, const char* title, DWORD flags);

  CItem m_item;
  Core::CString m_strDirectory;
  int m_nPathMode = 0;
};
