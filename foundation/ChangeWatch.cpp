// The watch's portable half: noted states, their comparison, bursts and
// polling. Folder notification only says where to look again.
#include "foundation/ChangeWatch.h"

#include <chrono>
#include <cstdint>
#include <new>

#include "foundation/FileSystem.h"
#include "foundation/FolderNotice.h"
#include "foundation/Memory.h"
#include "foundation/Path.h"
#include "foundation/PathIndex.h"

namespace Core {

namespace {

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct Folder {
  CString path;
  int key = 0;
  bool notified = false;  // the system tells of changes in it; else its files are polled
  bool retry = false;     // not there (or its watch ended): try to watch it again when polling
  bool dirty = false;     // something happened in it since its files were compared
};

struct File {
  CString path;
  int folder = 0;  // index in the folders
  FileLook noted;
};

}  // namespace

struct CChangeWatch::Impl {
  bool pollOnly = false;
  bool noticeTried = false;
  bool noticeOpen = false;
  CFolderNotice notice;
  CArray<Folder> folders;
  CArray<File> files;
  CArray<FolderEvent> events;
  int nextKey = 0;
  bool pending = false;  // a burst is under way
  std::int64_t burstStart = 0;
  std::int64_t quietEnd = 0;
  std::int64_t nextPoll = 0;  // 0: nothing polled

  bool HasPolled() const {
    for (int i = 0; i < folders.GetSize(); ++i) {
      if (!folders[i].notified) return true;
    }
    return false;
  }

  int FindFolder(const CArray<Folder>& list, const CString& path) const {
    for (int i = 0; i < list.GetSize(); ++i) {
      if (list[i].path == path) return i;
    }
    return -1;
  }

  void Watch(Folder* folder) {
    if (!noticeOpen) return;
    switch (notice.Add(folder->path, folder->key)) {
      case CFolderNotice::AddResult::kWatching:
        folder->notified = true;
        folder->retry = false;
        break;
      case CFolderNotice::AddResult::kMissing:
        folder->retry = true;  // watched once it is made
        break;
      case CFolderNotice::AddResult::kFailed:
        folder->retry = false;  // a share or a limit: trying again would fail again
        break;
    }
  }

  void Unwatch() {
    for (int i = 0; i < folders.GetSize(); ++i) {
      if (folders[i].notified) notice.Remove(folders[i].key);
    }
    folders.RemoveAll();
    files.RemoveAll();
    pending = false;
  }

  void Burst(std::int64_t now) {
    if (!pending) burstStart = now;
    pending = true;
    quietEnd = now + kQuietMs;
    if (quietEnd > burstStart + kLongestBurstMs) quietEnd = burstStart + kLongestBurstMs;
  }

  void Hear(const FolderEvent& event) {
    for (int i = 0; i < folders.GetSize(); ++i) {
      Folder& folder = folders[i];
      if (event.key != -1 && folder.key != event.key) continue;
      folder.dirty = true;
      if (event.kind == FolderEvent::Kind::kLost) {
        folder.notified = false;
        folder.retry = true;
      }
    }
  }

  // The notification failed as a whole: everything is polled from now on.
  void LoseNotice(std::int64_t now) {
    for (int i = 0; i < folders.GetSize(); ++i) {
      if (folders[i].notified) notice.Remove(folders[i].key);
      folders[i].notified = false;
      folders[i].retry = false;
      folders[i].dirty = true;
    }
    noticeOpen = false;
    Burst(now);
  }

  void PollFiles(std::int64_t now) {
    for (int i = 0; i < folders.GetSize(); ++i) {
      Folder& folder = folders[i];
      if (folder.notified || !folder.retry) continue;
      Watch(&folder);
      if (folder.notified) {
        folder.dirty = true;  // a file may have come with the folder
        Burst(now);
      }
    }
    for (int i = 0; i < files.GetSize(); ++i) {
      Folder& folder = folders[files[i].folder];
      if (folder.notified || folder.dirty) continue;
      if (!(LookAtFile(files[i].path) == files[i].noted)) {
        folder.dirty = true;
        Burst(now);
      }
    }
  }

  // Compares the files of every folder where something happened, and of
  // every polled one; notes and lists what changed.
  void Compare(std::int64_t now, CArray<CString>* changed) {
    bool incomplete = false;
    for (int i = 0; i < files.GetSize(); ++i) {
      File& file = files[i];
      const Folder& folder = folders[file.folder];
      if (folder.notified && !folder.dirty) continue;
      const FileLook seen = LookAtFile(file.path);
      if (seen == file.noted) continue;
      // A change the list cannot take stays unnoted, to be told next time.
      if (changed->Add(file.path)) {
        file.noted = seen;
      } else {
        incomplete = true;
      }
    }
    for (int i = 0; i < folders.GetSize(); ++i) folders[i].dirty = incomplete;
    if (incomplete) Burst(now);
  }

  // Waits up to waitMs for events, then polls when due; true when a burst
  // ended with changes.
  bool Step(int waitMs, CArray<CString>* changed) {
    events.RemoveAll();
    bool heard = true;
    if (noticeOpen) {
      heard = notice.Wait(waitMs, &events);
    } else if (waitMs != 0) {
      SleepMs(waitMs < 0 ? kPollMs : waitMs);
    }
    const std::int64_t now = NowMs();
    if (!heard) LoseNotice(now);
    for (int i = 0; i < events.GetSize(); ++i) Hear(events[i]);
    if (events.GetSize() > 0) Burst(now);
    if (!HasPolled()) {
      nextPoll = 0;
    } else if (nextPoll == 0) {
      nextPoll = now + kPollMs;
    } else if (now >= nextPoll) {
      nextPoll = now + kPollMs;
      PollFiles(now);
    }
    if (!pending || now < quietEnd) return false;
    pending = false;
    Compare(now, changed);
    return changed->GetSize() > 0;
  }

  // Milliseconds until the next timer; -1 when none runs.
  int NextDue(std::int64_t now) const {
    std::int64_t due = -1;
    if (pending) due = quietEnd;
    if (nextPoll != 0 && (due < 0 || nextPoll < due)) due = nextPoll;
    if (due < 0) return HasPolled() ? kPollMs : -1;
    return due <= now ? 0 : static_cast<int>(due - now);
  }
};

CChangeWatch::CChangeWatch(bool pollOnly) : m_pImpl(new (std::nothrow) Impl) {
  if (m_pImpl) m_pImpl->pollOnly = pollOnly;
}

CChangeWatch::~CChangeWatch() {
  if (m_pImpl) m_pImpl->Unwatch();
  delete m_pImpl;
}

bool CChangeWatch::SetFiles(const CArray<CString>& paths, const CArray<FileLook>* seen) {
  if (!m_pImpl) return false;
  Impl& impl = *m_pImpl;
  if (!impl.noticeTried && !impl.pollOnly) impl.noticeOpen = impl.notice.Open();
  impl.noticeTried = true;

  const CAllocationWatch memory;
  CArray<Folder> folders;
  CArray<File> files;
  CArray<int> fresh;  // the files not watched before: their states are noted below
  CArray<CString> watched;
  bool ok = watched.SetSize(impl.files.GetSize());
  for (int i = 0; ok && i < impl.files.GetSize(); ++i) watched[i] = impl.files[i].path;
  CPathIndex known;
  ok = ok && known.Build(watched) && files.SetSize(paths.GetSize());
  for (int i = 0; ok && i < paths.GetSize(); ++i) {
    const CString directory = DirectoryOf(paths[i]);
    int folder = impl.FindFolder(folders, directory);
    if (folder < 0) {
      const int old = impl.FindFolder(impl.folders, directory);
      Folder added;
      if (old >= 0) {
        added = impl.folders[old];
      } else {
        added.path = directory;
        added.key = impl.nextKey++;
      }
      folder = folders.GetSize();
      ok = folders.Add(added);
    }
    File& file = files[i];
    file.path = paths[i];
    file.folder = folder;
    const int before = known.Find(paths[i]);
    if (before >= 0) {
      file.noted = impl.files[before].noted;
    } else {
      ok = ok && fresh.Add(i);
    }
  }
  if (!ok || memory.Failed()) {
    impl.Unwatch();
    return false;
  }
  // Folders no longer needed stop being watched; new ones start, before
  // their files' states are noted, so no change falls in between.
  for (int i = 0; i < impl.folders.GetSize(); ++i) {
    if (impl.folders[i].notified && impl.FindFolder(folders, impl.folders[i].path) < 0) {
      impl.notice.Remove(impl.folders[i].key);
    }
  }
  for (int i = 0; i < folders.GetSize(); ++i) {
    if (!folders[i].notified && impl.FindFolder(impl.folders, folders[i].path) < 0) {
      impl.Watch(&folders[i]);
    }
  }
  // A file seen when it was read is noted as it was then: a change since
  // is one the caller has not read, told by the next Wait or Poll.
  const bool given = seen && seen->GetSize() == paths.GetSize();
  for (int i = 0; i < fresh.GetSize(); ++i) {
    File& file = files[fresh[i]];
    const FileLook now = LookAtFile(file.path);
    file.noted = given ? (*seen)[fresh[i]] : now;
    if (!(file.noted == now)) {
      folders[file.folder].dirty = true;
      impl.Burst(NowMs());
    }
  }
  impl.folders.Swap(folders);
  impl.files.Swap(files);
  return true;
}

CChangeWatch::WaitResult CChangeWatch::Wait(int timeoutMs, const std::atomic<bool>* stop,
                                            CArray<CString>* changed) {
  changed->RemoveAll();
  if (!m_pImpl) return WaitResult::kTimedOut;
  const std::int64_t start = NowMs();
  for (;;) {
    if (stop && stop->load()) return WaitResult::kStopped;
    const std::int64_t now = NowMs();
    int wait = m_pImpl->NextDue(now);
    // A burst that has begun is waited out even past the timeout.
    if (timeoutMs >= 0 && !m_pImpl->pending) {
      const std::int64_t left = start + timeoutMs - now;
      if (left <= 0) return WaitResult::kTimedOut;
      if (wait < 0 || left < wait) wait = static_cast<int>(left);
    }
    if (stop && (wait < 0 || wait > kStopLookMs)) wait = kStopLookMs;
    if (m_pImpl->Step(wait, changed)) return WaitResult::kChanged;
  }
}

bool CChangeWatch::Poll(CArray<CString>* changed) {
  changed->RemoveAll();
  return m_pImpl && m_pImpl->Step(0, changed);
}

bool CChangeWatch::IsPolling() const { return m_pImpl && m_pImpl->HasPolled(); }

bool CChangeWatch::IsNotifying() const {
  if (!m_pImpl) return false;
  for (int i = 0; i < m_pImpl->folders.GetSize(); ++i) {
    if (m_pImpl->folders[i].notified) return true;
  }
  return false;
}

}  // namespace Core
