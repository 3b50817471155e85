// CFolderNotice: the system's change notification on folders (inotify;
// ReadDirectoryChangesW through an I/O completion port), as CChangeWatch
// uses it (ChangeWatch_posix.cpp, ChangeWatch_win32.cpp). It only says in
// which folders something happened; what changed is for the caller to find
// out.
#pragma once

#include "foundation/Array.h"
#include "foundation/String.h"

namespace Core {

struct FolderEvent {
  enum class Kind {
    kChanged,  // something in the folder changed
    kRescan,   // events were lost: anything in the folder may have changed
    kLost,     // the folder's watch ended (folder removed, moved, failed)
  };
  int key;  // the folder's key; -1 for every folder
  Kind kind;
};

class CFolderNotice {
 public:
  CFolderNotice();
  ~CFolderNotice();
  CFolderNotice(const CFolderNotice&) = delete;
  CFolderNotice& operator=(const CFolderNotice&) = delete;

  // Sets up the notification; false when the system offers none here.
  bool Open();

  enum class AddResult { kWatching, kMissing, kFailed };
  // Starts watching a folder (with its separator or without) under the
  // caller's key. kMissing: the folder is not there; kFailed: it cannot be
  // watched (a network share, no more watches).
  AddResult Add(const CString& folder, int key);
  // Stops watching the folder; no event comes for its key afterwards.
  void Remove(int key);

  // Waits up to timeoutMs (0: only looks) for events and appends them.
  // A signal ends the wait early with no event. False when the
  // notification itself failed, or memory for the events ran out: from
  // then on nothing is heard.
  bool Wait(int timeoutMs, CArray<FolderEvent>* events);

 private:
  struct Impl;
  Impl* m_pImpl = nullptr;
};

// Waits without notification (when none could be set up).
void SleepMs(int ms);

}  // namespace Core
