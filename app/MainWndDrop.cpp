// Files dragged from Explorer onto the main window.
#include <windows.h>
#include <shellapi.h>

#include "app/core/DropFiles.h"
#include "app/MainWnd.h"

namespace {

// The dropped files, folders left out: neither a project nor an item.
Core::CArray<Core::CString> DroppedFiles(HDROP drop) {
  Core::CArray<Core::CString> files;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const int length = static_cast<int>(DragQueryFileA(drop, i, nullptr, 0));
    Core::CString path;
    if (length <= 0 || !path.AllocBuffer(length)) continue;
    DragQueryFileA(drop, i, path.GetBuffer(), static_cast<UINT>(length + 1));
    const DWORD attributes = GetFileAttributesA(path.GetText());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (!files.Add(path)) break;
  }
  return files;
}

}  // namespace

void CMainWnd::OnDropFiles(HDROP drop) {
  POINT at = {};
  DragQueryPoint(drop, &at);
  RECT list = {};
  GetWindowRect(m_hWndList, &list);
  MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&list), 2);
  const bool onList = PtInRect(&list, at) != 0;
  const Core::CArray<Core::CString> files = DroppedFiles(drop);
  // The names are copied: the drop's memory is not needed during the dialogs.
  DragFinish(drop);
  const DropPlan plan = PlanDrop(files, onList);
  if (plan.project < 0 && plan.items.GetSize() == 0) return;
  // Explorer keeps the foreground; the questions and dialogs belong here.
  SetForegroundWindow(m_hWnd);
  if (plan.project >= 0) {
    OnOpen(files[plan.project].GetText());
    return;
  }
  for (int i = 0; i < plan.items.GetSize(); ++i) {
    if (!AddItem(files[plan.items[i]])) break;
  }
}
