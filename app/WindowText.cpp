#include "app/WindowText.h"

#include <commctrl.h>

Core::CString ReadWindowText(HWND hWnd) {
  Core::CString text;
  const int length = GetWindowTextLengthA(hWnd);
  // The length may be larger than the text (never smaller): the copy ends it.
  if (length > 0 && text.AllocBuffer(length)) GetWindowTextA(hWnd, text.GetBuffer(), length + 1);
  return text;
}

Core::CString ReadDialogItemText(HWND hDlg, int id) { return ReadWindowText(GetDlgItem(hDlg, id)); }

Core::CString ReadListText(HWND list, int row, int column) {
  // The list tells no length: grow until the text fits with room to spare.
  for (int size = 512;; size *= 2) {
    Core::CString text;
    if (!text.AllocBuffer(size)) return Core::CString();
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text.GetBuffer();
    item.cchTextMax = size + 1;
    const LRESULT copied =
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    // The list may point at its own copy instead of filling the buffer.
    if (item.pszText && item.pszText != text.GetBuffer()) return Core::CString(item.pszText);
    if (copied < size) return text;
  }
}
