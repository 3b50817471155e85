// tovi.ini, the recent-projects history in the File menu, and the title.
#include "foundation/FileSystem.h"
#include "app/core/History.h"
#include "app/MainWnd.h"
#include "foundation/Path.h"
#include "app/PrivateProfile.h"
#include "app/core/Title.h"
#include "app/WindowText.h"
#include "app/resource.h"

namespace {

// Fixed items of the File menu before the history: New, Open, Save,
// Save As, separator, Exit.
constexpr int kFixedFileItems = 6;

Layout::Rect ToRect(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

}  // namespace

void CMainWnd::LoadSettings() {
  const Core::CString modulePath = Core::GetModulePath();
  const Core::PathParts parts = Core::SplitPath(modulePath);
  m_strModuleDir = Core::DirectoryOf(modulePath);
  m_strModulePath = m_strModuleDir + parts.name + parts.ext;
  // Without the program's folder a bare "tovi.ini" would land in the
  // Windows folder: keep no settings instead.
  m_strIniPath =
      m_strModuleDir.IsEmpty() ? Core::CString("") : m_strModuleDir + Core::CString("tovi.ini");
  CPrivateProfile ini(m_strIniPath);
  m_startPlacement = m_settings.Load(ini);
}

void CMainWnd::SaveSettings() {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof placement;
  GetWindowPlacement(m_hWnd, &placement);
  RECT window = {};
  GetWindowRect(m_hWnd, &window);
  EndPlacement end;
  end.showCmd = static_cast<int>(placement.showCmd);
  end.restoreToMaximized = (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
  end.normal = ToRect(placement.rcNormalPosition);
  end.window = ToRect(window);
  end.dpi = m_nDpi;
  CPrivateProfile ini(m_strIniPath);
  m_settings.Save(ini, end);
  // The window is closing: settings that cannot be saved leave the file as
  // it was, and the next session starts from those.
  (void)ini.Save();
}

void CMainWnd::AddToHistory(const Core::CString& path) { m_settings.AddToHistory(path); }

void CMainWnd::RebuildHistoryMenu() {
  const HMENU bar = GetMenu(m_hWnd);
  const HMENU file = bar ? GetSubMenu(bar, 0) : nullptr;
  if (!file) return;
  for (int i = GetMenuItemCount(file) - 1; i >= kFixedFileItems; --i)
    DeleteMenu(file, i, MF_BYPOSITION);
  const Core::CArray<Core::CString> labels =
      HistoryMenuLabels(m_settings.m_aHistory, m_settings.m_nHistoryShown);
  if (labels.GetSize() == 0) return;
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  for (int k = 0; k < labels.GetSize(); ++k) {
    AppendMenuA(file, MF_STRING, ID_HISTORY_FIRST + k, labels[k].GetText());
  }
}

void CMainWnd::UpdateTitle() {
  Core::CString current;
  if (m_doc.m_nModified) current = ReadWindowText(m_hWnd);
  Core::CString title;
  if (NextTitle(m_doc.m_strPath, m_doc.m_nModified, m_bAutoConvert, current, &title))
    SetWindowTextA(m_hWnd, title.GetText());
}
