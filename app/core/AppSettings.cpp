#include "app/core/AppSettings.h"

#include "app/core/History.h"

namespace {

constexpr char kWindow[] = "Window";
constexpr char kFileHist[] = "FileHist";
constexpr int kDefaultHistoryCount = 3;
constexpr int kDefaultSplitRate = 50;

int ReadInt(IProfile& profile, const char* section, const char* key, int defaultValue) {
  return static_cast<int>(profile.GetNumber(section, key, defaultValue));
}

void WriteInt(IProfile& profile, const char* section, const char* key, int value) {
  Core::CString text;
  text.Format("%d", value);
  profile.WriteText(section, key, text.GetText());
}

Core::CString HistoryKey(int index) {
  Core::CString key;
  key.Format("Path_%d", index);
  return key;
}

int ClampHistoryCount(int count) {
  if (count < 0) return 0;
  return count > kMaxHistoryCount ? kMaxHistoryCount : count;
}

}  // namespace

StartPlacement PlacementAtDpi(const StartPlacement& placement, int dpi) {
  StartPlacement scaled = placement;
  if (scaled.width != kUseDefault) scaled.width = Layout::Rescale(scaled.width, dpi, placement.dpi);
  if (scaled.height != kUseDefault)
    scaled.height = Layout::Rescale(scaled.height, dpi, placement.dpi);
  scaled.dpi = dpi;
  return scaled;
}

CAppSettings::CAppSettings() { m_aHistory.SetSize(kDefaultHistoryCount); }

StartPlacement CAppSettings::Load(IProfile& profile) {
  StartPlacement placement;
  m_bRestoreWindowState = ReadInt(profile, kWindow, "RestoreWindowState", 1);
  if (m_bRestoreWindowState != 0) {
    placement.x = ReadInt(profile, kWindow, "Pos_X", kUseDefault);
    placement.y = ReadInt(profile, kWindow, "Pos_Y", kUseDefault);
    placement.width = ReadInt(profile, kWindow, "Wnd_Width", kUseDefault);
    placement.height = ReadInt(profile, kWindow, "Wnd_Height", kUseDefault);
    // The DPI the sizes were saved at. Files written before the program
    // followed the DPI have none: it saw every screen at 96 then.
    const int dpi = ReadInt(profile, kWindow, "Dpi", Layout::kBaseDpi);
    placement.dpi = dpi > 0 ? dpi : Layout::kBaseDpi;
    // Only the two states the program writes: a hand-edited 0 (hidden) or a
    // minimised state would start a window the user cannot find.
    const int showCmd = ReadInt(profile, kWindow, "ShowCmd", kShowNormal);
    placement.showCmd = showCmd == kShowMaximized ? kShowMaximized : kShowNormal;
    m_dSplitRate =
        static_cast<double>(profile.GetNumber(kWindow, "SplitBarRate", kDefaultSplitRate));
  } else {
    m_dSplitRate = kDefaultSplitRate;
  }
  // "Size" carries the history count chosen by the user, so it survives a
  // restart; the File menu shows that many entries.
  SetHistoryCount(ClampHistoryCount(ReadInt(profile, kFileHist, "Size", kDefaultHistoryCount)));
  for (int i = m_nHistoryCount - 1; i >= 0; --i) {
    const Core::CString path = profile.GetText(kFileHist, HistoryKey(i).GetText(), "");
    if (!path.IsEmpty()) AddToHistory(path);
  }
  return placement;
}

void CAppSettings::Save(IProfile& profile, const EndPlacement& placement) const {
  WriteInt(profile, kWindow, "RestoreWindowState", m_bRestoreWindowState);
  const bool maximized = placement.showCmd == kShowMaximized ||
                         (placement.showCmd == kShowMinimized && placement.restoreToMaximized);
  if (maximized) {
    WriteInt(profile, kWindow, "ShowCmd", kShowMaximized);
  } else {
    // A minimised window's outer rectangle is the icon's; its normal
    // rectangle is what the user will get back.
    const Layout::Rect& size =
        placement.showCmd == kShowMinimized ? placement.normal : placement.window;
    WriteInt(profile, kWindow, "Wnd_Width", size.right - size.left);
    WriteInt(profile, kWindow, "Wnd_Height", size.bottom - size.top);
    WriteInt(profile, kWindow, "Dpi", placement.dpi);
    WriteInt(profile, kWindow, "ShowCmd", kShowNormal);
  }
  WriteInt(profile, kWindow, "Pos_X", placement.normal.left > 0 ? placement.normal.left : 0);
  WriteInt(profile, kWindow, "Pos_Y", placement.normal.top > 0 ? placement.normal.top : 0);
  WriteInt(profile, kWindow, "SplitBarRate", Layout::RoundRate(m_dSplitRate));
  WriteInt(profile, kFileHist, "Size", m_nHistoryShown);
  for (int i = 0; i < m_nHistoryCount; ++i) {
    // An entry that never held text has no block: its key is removed. An
    // entry emptied later keeps its key with an empty value.
    const char* text = i < m_aHistory.GetSize() ? m_aHistory[i].GetBuffer() : nullptr;
    profile.WriteText(kFileHist, HistoryKey(i).GetText(), text);
  }
}

void CAppSettings::AddToHistory(const Core::CString& path) {
  ::AddToHistory(&m_aHistory, m_nHistoryCount, path);
}

void CAppSettings::SetHistoryCount(int count) {
  m_nHistoryCount = count;
  m_nHistoryShown = count;
  m_aHistory.SetSize(count);
}
