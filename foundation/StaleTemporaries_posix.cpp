#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "foundation/StaleTemporaries.h"

namespace Core {

namespace {

// Only "no such process" counts as ended: EPERM is a live process of
// another user, and this process is alive whatever kill() says.
bool IsAlive(unsigned long number) {
  const pid_t pid = static_cast<pid_t>(number);
  return pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void RemoveIfStale(int folder, const char* entry, unsigned long pid) {
  // Looked at before it is opened: opening a device or FIFO may act on it.
  struct stat named;
  if (::fstatat(folder, entry, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode)) {
    return;
  }
  const int fd = ::openat(folder, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened;
  // A writer holds its lock from just after the create to the rename; the
  // process check, made once the lock is ours, covers the moment between.
  // The name is checked again so that only the file that was looked at
  // goes.
  if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && SameFile(named, opened) &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0 && !IsAlive(pid) &&
      ::fstatat(folder, entry, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(named, opened)) {
    (void)::unlinkat(folder, entry, 0);
  }
  ::close(fd);
}

}  // namespace

void RemoveStaleTemporaries(const CString& target) {
  const char* text = target.GetText();
  const char* slash = std::strrchr(text, '/');
  const char* name = slash ? slash + 1 : text;
  if (*name == '\0') return;
  CString folder(".");
  if (slash == text) {
    folder = "/";
  } else if (slash) {
    const int length = static_cast<int>(slash - text);
    if (!folder.AllocBuffer(length)) return;
    std::memcpy(folder.GetBuffer(), text, static_cast<std::size_t>(length));
  }
  if (folder.IsEmpty() || SweptLately(folder)) return;
  const int fd = ::open(folder.GetText(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  DIR* listing = ::fdopendir(fd);
  if (!listing) {
    ::close(fd);
    return;
  }
  // Entries are opened and removed through the folder that is listed, so
  // a folder renamed meanwhile cannot send the removal elsewhere.
  for (const struct dirent* entry; (entry = ::readdir(listing)) != nullptr;) {
    unsigned long pid = 0;
    if (ParseTemporaryName(entry->d_name, &pid)) RemoveIfStale(fd, entry->d_name, pid);
  }
  ::closedir(listing);
}

}  // namespace Core
