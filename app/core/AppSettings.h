// The application settings kept in tovi.ini: window placement, split rate
// and the recent-projects history. The rules live here, apart from the
// platform's profile functions, which come in through IProfile.
#pragma once

#include <climits>
#include <cstdint>

#include "foundation/Array.h"
#include "app/core/Layout.h"
#include "foundation/String.h"

// One profile (INI) file.
class IProfile {
 public:
  virtual ~IProfile() = default;
  // The key's decimal text as an unsigned 32-bit number; the default when
  // the key is absent.
  virtual std::uint32_t GetNumber(const char* section, const char* key, int defaultValue) = 0;
  // The key's whole text; the default when absent.
  virtual Core::CString GetText(const char* section, const char* key, const char* defaultValue) = 0;
  // A null text removes the key.
  virtual void WriteText(const char* section, const char* key, const char* text) = 0;
};

// The platform's let-the-system-choose position and size (CW_USEDEFAULT).
constexpr int kUseDefault = INT_MIN;
// Show states as the window placement names them.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

// Where and how the window first appears. The position is in screen
// pixels; the size is in pixels at `dpi`.
struct StartPlacement {
  int x = kUseDefault;
  int y = kUseDefault;
  int width = kUseDefault;
  int height = kUseDefault;
  int showCmd = kShowNormal;
  int dpi = Layout::kBaseDpi;
};

// The placement for a window shown at `dpi`: the same position, and the
// size that is as large on the screen as the stored one was at its DPI.
StartPlacement PlacementAtDpi(const StartPlacement& placement, int dpi);

// The window as it is at shut-down.
struct EndPlacement {
  int showCmd = kShowNormal;        // of the window placement
  bool restoreToMaximized = false;  // minimised from the maximised state
  Layout::Rect normal;              // normal-position rectangle
  Layout::Rect window;              // current outer rectangle
  int dpi = Layout::kBaseDpi;       // the window's DPI
};

class CAppSettings {
 public:
  CAppSettings();

  // Reads the restore flag, placement, split rate, history count and
  // history, in that order.
  StartPlacement Load(IProfile& profile);
  // Writes every key; the sizes of a maximised window keep their stored values.
  void Save(IProfile& profile, const EndPlacement& placement) const;

  void AddToHistory(const Core::CString& path);
  // How many entries the history keeps and the File menu shows (0 to 9).
  // Entries beyond the count are dropped; added ones are empty.
  void SetHistoryCount(int count);

  int m_bRestoreWindowState = 1;
  double m_dSplitRate = 0;
  int m_nHistoryCount = 3;
  int m_nHistoryShown = 0;
  Core::CArray<Core::CString> m_aHistory;  // most recent first
};
