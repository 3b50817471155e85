#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/File.h"
#include "foundation/NativePath_posix.h"
#include "foundation/SystemCalls_posix.h"

namespace Core {

namespace {
int Descriptor(FileHandle handle) { return static_cast<int>(handle - 1); }
}  // namespace

CFile::~CFile() { Close(); }

bool CFile::Open(const CString& path, bool write, bool create) {
  Close();
  const CString native = ToNativePath(path);
  if (native.IsEmpty()) return false;
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  int flags = (write ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
  if (create) flags |= O_CREAT;
  const int fd = Sys::Open(native.GetText(), flags, 0666);
  if (fd < 0) return false;
  // Only regular files: a directory, device or FIFO would fail or never end
  // a read. The lock is taken before anything is truncated, so a refused
  // create leaves the file as it was.
  // F_SETFL sets only the status flags: 0 takes O_NONBLOCK off and keeps
  // the access mode.
  struct stat info;
  if (Sys::Fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0 ||
      Sys::Flock(fd, LOCK_EX | LOCK_NB) != 0 || (create && Sys::Ftruncate(fd, 0) != 0)) {
    (void)Sys::Close(fd);
    return false;
  }
  m_hFile = fd + 1;
  // An open file keeps its identity: asked once here, not on every GetId.
  m_id.volume = static_cast<std::uint64_t>(info.st_dev);
  m_id.index = static_cast<std::uint64_t>(info.st_ino);
  m_strPath = path;
  return true;
}

void CFile::Close() {
  if (!IsOpen()) return;
  // Only reads go through a CFile that is closed here: a close that
  // reports a failure has nothing left to lose.
  (void)Sys::Close(Descriptor(m_hFile));
  m_hFile = 0;
  m_strPath.Empty();
}

bool CFile::IsOpen() const { return m_hFile > 0; }

int CFile::Read(void* buffer, int count) {
  if (!IsOpen() || count < 0) return -1;
  char* p = static_cast<char*>(buffer);
  int total = 0;
  while (total < count) {
    const ssize_t n = Sys::Read(Descriptor(m_hFile), p + total, static_cast<size_t>(count - total));
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    total += static_cast<int>(n);
  }
  return total;
}

bool CFile::Write(const void* buffer, int count) {
  if (!IsOpen() || count < 0) return false;
  const char* p = static_cast<const char*>(buffer);
  size_t left = static_cast<size_t>(count);
  while (left > 0) {
    const ssize_t n = Sys::Write(Descriptor(m_hFile), p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

std::uint32_t CFile::GetSize() const {
  struct stat info;
  if (!IsOpen() || Sys::Fstat(Descriptor(m_hFile), &info) != 0) return 0;
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(info.st_size));
}

bool CFile::GetId(FileId* id) const {
  if (!IsOpen()) return false;
  *id = m_id;
  return true;
}

bool CFile::Flush() { return IsOpen() && Sys::Fsync(Descriptor(m_hFile)) == 0; }

}  // namespace Core
