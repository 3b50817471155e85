// CChangeWatch: tells when any of a set of files changes: written,
// appended to, replaced by a rename (as editors save), created or removed.
// Each file's state (missing, or its size, time and identity) is noted;
// a change is a file whose state differs from the noted one, so events
// about other files in the same folders never count. The system's change
// notification (inotify; ReadDirectoryChangesW) on the files' folders
// wakes the watch; where it is unavailable (a network share, a folder that
// cannot be watched, the notification API failing) the files are polled.
#pragma once

#include <atomic>

#include "foundation/Array.h"
#include "foundation/FileSystem.h"
#include "foundation/String.h"

namespace Core {

class CChangeWatch {
 public:
  // A burst of events (one editor save is several) ends after this long
  // without another.
  static constexpr int kQuietMs = 60;
  // A burst that goes on (a file in a watched folder written without
  // pause) is cut after this long, so changes to watched files still come.
  static constexpr int kLongestBurstMs = 1000;
  // How often files are looked at when their folder cannot be watched.
  static constexpr int kPollMs = 500;
  // How often Wait looks at its stop flag.
  static constexpr int kStopLookMs = 200;

  // pollOnly: never use the system's notification, poll every file.
  explicit CChangeWatch(bool pollOnly = false);
  ~CChangeWatch();
  CChangeWatch(const CChangeWatch&) = delete;
  CChangeWatch& operator=(const CChangeWatch&) = delete;

  // Watches exactly these files (absolute paths, each once) from now on;
  // their states are noted now. A path already watched keeps its noted
  // state, so a change made while the caller was busy is still reported.
  // seen, when given, holds how each path stood when the caller read it
  // (one look per path): a path not watched before is noted as it stood
  // then, so a change between the read and now is reported too. False
  // when memory ran out (nothing is watched then).
  bool SetFiles(const CArray<CString>& paths, const CArray<FileLook>* seen = nullptr);

  enum class WaitResult { kChanged, kTimedOut, kStopped };
  // Waits up to timeoutMs (-1: without end) for a change to a watched
  // file, and for the burst it begins to end; *stop, when given, is looked
  // at least every kStopLookMs and ends the wait. On kChanged, *changed holds
  // the paths whose state changed, and their new states are noted.
  WaitResult Wait(int timeoutMs, const std::atomic<bool>* stop, CArray<CString>* changed);
  // The same without waiting, for a caller that has its own loop (a
  // window's timer): true with the changed paths when a burst has ended.
  bool Poll(CArray<CString>* changed);

  // True when at least one watched file is polled rather than notified.
  bool IsPolling() const;
  // True when at least one watched file is notified.
  bool IsNotifying() const;

 private:
  struct Impl;
  Impl* m_pImpl = nullptr;
};

}  // namespace Core
