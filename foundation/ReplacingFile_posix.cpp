#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "foundation/NativePath_posix.h"
#include "foundation/ReplacingFile.h"
#include "foundation/StaleTemporaries.h"
#include "foundation/SystemCalls_posix.h"

namespace Core {

namespace {

int Descriptor(FileHandle handle) { return static_cast<int>(handle - 1); }

ReplaceState StateOf(const struct stat& info, const char* native) {
  if (S_ISLNK(info.st_mode)) return ReplaceState::kReplaceable;
  if (!S_ISREG(info.st_mode)) return ReplaceState::kNotRegular;
  // No write bit at all counts as read-only even for root, as the
  // read-only attribute does on Windows.
  if ((info.st_mode & 0222) == 0 || ::access(native, W_OK) != 0) return ReplaceState::kReadOnly;
  return ReplaceState::kReplaceable;
}

ReplaceState NativeState(const char* native) {
  struct stat info;
  if (Sys::Lstat(native, &info) != 0) {
    return errno == ENOENT ? ReplaceState::kMissing : ReplaceState::kNotRegular;
  }
  return StateOf(info, native);
}

// The folder part of a native path, for syncing a rename ("." for a bare name).
CString FolderOf(const CString& native) {
  const char* text = native.GetText();
  const char* slash = std::strrchr(text, '/');
  if (!slash) return ".";
  if (slash == text) return "/";
  CString folder;
  const int length = static_cast<int>(slash - text);
  if (folder.AllocBuffer(length))
    std::memcpy(folder.GetBuffer(), text, static_cast<size_t>(length));
  return folder;
}

void SyncFolder(const CString& folder) {
  const int fd = ::open(folder.GetText(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // The file is in place already; a folder that cannot be synced only
  // risks the rename across a power cut, which no caller could mend.
  (void)::fsync(fd);
  ::close(fd);
}

// Creates "<target>.tovi-<unique>" with O_EXCL, which never follows a
// symlink: an existing name, link or not, just means another try.
int CreateTemporary(const CString& target, CString* name) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[48];
    // Cannot fail: a long and an unsigned fit the buffer.
    (void)std::snprintf(suffix, sizeof suffix, ".tovi-%ld-%u", static_cast<long>(::getpid()),
                        counter++);
    // A name cut short by a failed allocation would land elsewhere.
    *name = target;
    *name += suffix;
    if (name->GetLength() != target.GetLength() + static_cast<int>(std::strlen(suffix))) {
      return -1;
    }
    const int fd =
        Sys::Open(name->GetText(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    // Held until the rename or the removal: another run's cleanup leaves a
    // locked temporary alone (and one of a live process without the lock).
    if (fd >= 0) (void)::flock(fd, LOCK_EX | LOCK_NB);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, const char* p, size_t left) {
  while (left > 0) {
    const ssize_t n = Sys::Write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

ReplaceState GetReplaceState(const CString& path) {
  const CString native = ToNativePath(path);
  return native.IsEmpty() ? ReplaceState::kNotRegular : NativeState(native.GetText());
}

CReplacingFile::~CReplacingFile() { Abort(); }

bool CReplacingFile::Open(const CString& target, LinkRule rule, const CFile* model) {
  Abort();
  const CString native = ToNativePath(target);
  if (native.IsEmpty()) return false;
  m_strTarget = native.GetText();
  if (rule == kFollowLink) {
    struct stat link;
    if (Sys::Lstat(native.GetText(), &link) != 0) {
      if (errno != ENOENT) return false;  // cannot tell whether it is a link
    } else if (S_ISLNK(link.st_mode)) {
      char* resolved = ::realpath(native.GetText(), nullptr);
      if (!resolved) return false;  // a dangling link names no file to update
      m_strTarget = resolved;
      ::free(resolved);
    }
  }
  // Known before anything is written: Commit then needs no allocation.
  m_strFolder = FolderOf(m_strTarget);
  if (m_strTarget.IsEmpty() || m_strFolder.IsEmpty()) return false;
  struct stat info;
  const bool exists = Sys::Lstat(m_strTarget.GetText(), &info) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && StateOf(info, m_strTarget.GetText()) != ReplaceState::kReplaceable) return false;

  RemoveStaleTemporaries(m_strTarget);
  const int fd = CreateTemporary(m_strTarget, &m_strTemporary);
  if (fd < 0) {
    m_strTemporary.Empty();
    return false;
  }
  m_hFile = fd + 1;
  m_bFailed = false;
  // The permission bits of the file it stands for; a new file keeps what
  // the umask gave it.
  struct stat modelInfo;
  bool kept = true;
  if (model && model->IsOpen()) {
    kept = Sys::Fstat(Descriptor(model->GetHandle()), &modelInfo) == 0 &&
           Sys::Fchmod(fd, modelInfo.st_mode & 0777) == 0;
  } else if (exists && S_ISREG(info.st_mode)) {
    kept = Sys::Fchmod(fd, info.st_mode & 0777) == 0;
  }
  if (!kept) Abort();
  return kept;
}

bool CReplacingFile::Write(const void* data, std::size_t size) {
  if (!IsOpen() || m_bFailed) return false;
  if (!WriteAll(Descriptor(m_hFile), static_cast<const char*>(data), size)) m_bFailed = true;
  return !m_bFailed;
}

bool CReplacingFile::Commit(bool durable) {
  if (!IsOpen()) return false;
  const int fd = Descriptor(m_hFile);
  m_hFile = 0;
  bool ok = !m_bFailed && (!durable || Sys::Fsync(fd) == 0);
  // A delayed write error (quota, network file system) shows at close.
  ok = Sys::Close(fd) == 0 && ok;
  if (ok) {
    // As on Windows, a target that another opener holds is not replaced.
    const int held = ::open(m_strTarget.GetText(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) != 0) ok = false;
    ok = ok && Sys::Rename(m_strTemporary.GetText(), m_strTarget.GetText()) == 0;
    if (held >= 0) ::close(held);
  }
  if (!ok) {
    // A temporary that cannot be removed is a stray file; the target is whole.
    (void)::unlink(m_strTemporary.GetText());
  } else if (durable) {
    SyncFolder(m_strFolder);
  }
  m_strTemporary.Empty();
  m_strTarget.Empty();
  return ok;
}

bool CReplacingFile::GetId(FileId* id) const {
  struct stat info;
  if (!IsOpen() || Sys::Fstat(Descriptor(m_hFile), &info) != 0) return false;
  id->volume = static_cast<std::uint64_t>(info.st_dev);
  id->index = static_cast<std::uint64_t>(info.st_ino);
  return true;
}

void CReplacingFile::Abort() {
  if (IsOpen()) {
    ::close(Descriptor(m_hFile));
    m_hFile = 0;
  }
  // A temporary that cannot be removed is a stray file; the target is whole.
  if (!m_strTemporary.IsEmpty()) (void)::unlink(m_strTemporary.GetText());
  m_strTemporary.Empty();
  m_strTarget.Empty();
  m_bFailed = false;
}

}  // namespace Core
