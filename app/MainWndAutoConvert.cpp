// The automatic conversion: a timer asks the change watch, and a change
// converts the items it concerns, incrementally, through the same run as
// the menu's commands. The window stays single-threaded.
#include <windows.h>

#include <new>

#include "app/MainWnd.h"
#include "foundation/ChangeWatch.h"

namespace {

constexpr char kOutOfMemoryLog[] = "ERROR   : メモリが不足したため自動変換を止めました.\r\n";

}  // namespace

void CMainWnd::OnAutoConvert() {
  if (m_bAutoConvert)
    StopAutoConvert();
  else
    StartAutoConvert();
}

void CMainWnd::StartAutoConvert() {
  if (!m_pWatch) m_pWatch = new (std::nothrow) Core::CChangeWatch;
  Core::CArray<int> due;
  if (!m_pWatch || !m_autoConversion.Start(m_doc.m_aItems, RunSettings(), &due) ||
      !WatchItemFiles()) {
    FailAutoConvert();
    return;
  }
  if (!m_bAutoConvert) {
    if (!SetTimer(m_hWnd, kAutoConvertTimer, kAutoConvertTickMs, nullptr)) {
      FailAutoConvert();
      return;
    }
    m_bAutoConvert = true;
    UpdateTitle();
  }
  if (due.GetSize() > 0) ConvertItems(due, true);
}

void CMainWnd::StopAutoConvert() {
  if (m_hWnd) KillTimer(m_hWnd, kAutoConvertTimer);
  delete m_pWatch;
  m_pWatch = nullptr;
  if (!m_bAutoConvert) return;
  m_bAutoConvert = false;
  UpdateTitle();
}

void CMainWnd::FailAutoConvert() {
  AppendLog(kOutOfMemoryLog);
  StopAutoConvert();
}

bool CMainWnd::WatchItemFiles() {
  Core::CArray<Core::CString> files;
  Core::CArray<Core::FileLook> seen;
  return m_pWatch && m_autoConversion.Files(&files, &seen) && m_pWatch->SetFiles(files, &seen);
}

void CMainWnd::OnAutoConvertTimer() {
  if (!m_bAutoConvert || !m_pWatch || m_bConverting) return;
  // A dialog or message box disables the window; a drag of the split bar
  // draws over it. The watch keeps what changes meanwhile for a later tick.
  if (!IsWindowEnabled(m_hWnd) || m_bDragging) return;
  Core::CArray<Core::CString> changed;
  if (!m_pWatch->Poll(&changed)) return;
  Core::CArray<int> due;
  if (!m_autoConversion.ItemsConcerned(changed, &due)) {
    FailAutoConvert();
    return;
  }
  if (due.GetSize() > 0) ConvertItems(due, true);
}

void CMainWnd::ItemsChanged() {
  if (!m_bAutoConvert) return;
  Core::CArray<int> due;
  if (!m_autoConversion.Update(m_doc.m_aItems, RunSettings(), &due) || !WatchItemFiles()) {
    FailAutoConvert();
    return;
  }
  if (due.GetSize() > 0) ConvertItems(due, true);
}
