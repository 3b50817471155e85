// Folder notification through inotify: one instance, one watch per folder.
#include <poll.h>
#include <sys/inotify.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "foundation/FolderNotice.h"
#include "foundation/NativePath_posix.h"

namespace Core {

namespace {
constexpr std::uint32_t kMask = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
// The watch is gone, or no longer on the folder the path names.
constexpr std::uint32_t kEnded = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

struct Watch {
  int key = 0;
  int wd = -1;
};
}  // namespace

struct CFolderNotice::Impl {
  int fd = -1;
  CArray<Watch> watches;

  bool Shared(int wd) const {
    for (int i = 0; i < watches.GetSize(); ++i) {
      if (watches[i].wd == wd) return true;
    }
    return false;
  }
  // Forgets the watches on wd (two paths naming one folder share one),
  // telling the caller each is lost.
  bool EndWatches(int wd, CArray<FolderEvent>* events) {
    bool ok = true;
    for (int i = watches.GetSize() - 1; i >= 0; --i) {
      if (watches[i].wd != wd) continue;
      ok = events->Add({watches[i].key, FolderEvent::Kind::kLost}) && ok;
      watches.RemoveAt(i);
    }
    (void)::inotify_rm_watch(fd, wd);  // already gone after IN_IGNORED
    return ok;
  }
  bool Changed(int wd, CArray<FolderEvent>* events) const {
    for (int i = 0; i < watches.GetSize(); ++i) {
      if (watches[i].wd != wd) continue;
      const int key = watches[i].key;
      // A burst of events in one folder needs one note.
      const int n = events->GetSize();
      if (n > 0 && (*events)[n - 1].key == key) continue;
      if (!events->Add({key, FolderEvent::Kind::kChanged})) return false;
    }
    return true;
  }
};

CFolderNotice::CFolderNotice() : m_pImpl(new (std::nothrow) Impl) {}

CFolderNotice::~CFolderNotice() {
  if (m_pImpl && m_pImpl->fd >= 0) (void)::close(m_pImpl->fd);
  delete m_pImpl;
}

bool CFolderNotice::Open() {
  if (!m_pImpl) return false;
  if (m_pImpl->fd < 0) m_pImpl->fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  return m_pImpl->fd >= 0;
}

CFolderNotice::AddResult CFolderNotice::Add(const CString& folder, int key) {
  if (!m_pImpl || m_pImpl->fd < 0) return AddResult::kFailed;
  const CString native = ToNativePath(folder);
  if (native.IsEmpty()) return AddResult::kFailed;
  const int wd = ::inotify_add_watch(m_pImpl->fd, native.GetText(), kMask | IN_ONLYDIR);
  if (wd < 0) {
    return errno == ENOENT || errno == ENOTDIR ? AddResult::kMissing : AddResult::kFailed;
  }
  Watch watch;
  watch.key = key;
  watch.wd = wd;
  if (m_pImpl->watches.Add(watch)) return AddResult::kWatching;
  if (!m_pImpl->Shared(wd)) (void)::inotify_rm_watch(m_pImpl->fd, wd);
  return AddResult::kFailed;
}

void CFolderNotice::Remove(int key) {
  if (!m_pImpl) return;
  CArray<Watch>& watches = m_pImpl->watches;
  for (int i = 0; i < watches.GetSize(); ++i) {
    if (watches[i].key != key) continue;
    const int wd = watches[i].wd;
    watches.RemoveAt(i);
    if (!m_pImpl->Shared(wd)) (void)::inotify_rm_watch(m_pImpl->fd, wd);
    return;
  }
}

bool CFolderNotice::Wait(int timeoutMs, CArray<FolderEvent>* events) {
  if (!m_pImpl || m_pImpl->fd < 0) return false;
  pollfd ready = {m_pImpl->fd, POLLIN, 0};
  const int n = ::poll(&ready, 1, timeoutMs < 0 ? -1 : timeoutMs);
  if (n < 0) return errno == EINTR;
  if (n == 0) return true;
  alignas(inotify_event) char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(m_pImpl->fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno == EAGAIN || errno == EWOULDBLOCK;
    }
    if (got == 0) return true;
    for (ssize_t at = 0; at < got;) {
      const inotify_event* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      bool ok = true;
      if (event->mask & IN_Q_OVERFLOW) {
        ok = events->Add({-1, FolderEvent::Kind::kRescan});
      } else if (event->mask & kEnded) {
        ok = m_pImpl->EndWatches(event->wd, events);
      } else {
        ok = m_pImpl->Changed(event->wd, events);
      }
      // Out of memory: the caller polls every folder from now on.
      if (!ok) return false;
    }
  }
}

void SleepMs(int ms) {
  timespec span = {ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
  (void)::nanosleep(&span, nullptr);  // a signal ends the sleep early, as it ends a wait
}

}  // namespace Core
