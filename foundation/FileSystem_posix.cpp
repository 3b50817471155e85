#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "Cp932Text.h"
#include "Cp932Utf8.h"
#include "FileSystem.h"
#include "Memory.h"
#include "NativePath_posix.h"

namespace Core {

std::string ToNativePath(const CString& path) {
  std::string slashed;
  for (const char* p = path.GetText(); *p; p = Cp932::Next(p)) {
    const std::size_t length = Cp932::CharLength(p);
    if (length == 1 && *p == '\\') {
      slashed += '/';
    } else {
      slashed.append(p, length);
    }
  }
  // POSIX file names are UTF-8; a name that is no code page 932 text is
  // passed on as its bytes.
  std::string native;
  return Cp932ToUtf8(slashed.data(), slashed.size(), &native) ? native : slashed;
}

CString FromNativePath(const char* native) {
  std::string text;
  if (Utf8ToCp932(native, std::strlen(native), &text)) return CString(text.c_str());
  return CString(native);
}

bool PathExists(const CString& path) {
  struct stat info;
  const std::string native = ToNativePath(path);
  return !native.empty() && ::stat(native.c_str(), &info) == 0;
}

bool IsDirectory(const CString& path) {
  struct stat info;
  const std::string native = ToNativePath(path);
  return !native.empty() && ::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {
bool CopyContents(int from, int to) {
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(from, buffer.data(), buffer.size());
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(to, buffer.data() + done, static_cast<size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      done += w;
    }
  }
}

// CFile holds an exclusive flock on its file; a lock taken without waiting
// tells whether another opener holds one, like the Windows sharing check.
bool TryLock(int fd, int operation) { return ::flock(fd, operation | LOCK_NB) == 0; }

}  // namespace

bool CopyFileReplacing(const CString& from, const CString& to) {
  const std::string source = ToNativePath(from);
  const std::string target = ToNativePath(to);
  if (source.empty() || target.empty()) return false;
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat info;
  if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode) || !TryLock(in, LOCK_SH)) {
    ::close(in);
    return false;
  }
  // Truncated only once locked: the target may be the source itself (locked
  // just above) or a file a CFile holds, and Windows refuses both untouched.
  const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, info.st_mode & 0777);
  bool ok = out >= 0 && TryLock(out, LOCK_EX) && ::ftruncate(out, 0) == 0 && CopyContents(in, out);
  if (out >= 0) ok = ::close(out) == 0 && ok;
  ::close(in);
  return ok;
}

bool RemoveFile(const CString& path) {
  const std::string native = ToNativePath(path);
  if (native.empty()) return false;
  // A file a CFile holds stays, as on Windows.
  const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    const bool held = !TryLock(fd, LOCK_EX);
    ::close(fd);
    if (held) return false;
  }
  return ::unlink(native.c_str()) == 0;
}

bool SetCurrentDir(const CString& path) {
  const std::string native = ToNativePath(path);
  return !native.empty() && ::chdir(native.c_str()) == 0;
}

CString GetCurrentDir() {
  // A directory may be longer than PATH_MAX: grow until it fits.
  for (std::size_t size = PATH_MAX; size < kMaxBlockSize; size *= 2) {
    CString buffer;
    if (!buffer.AllocBuffer(static_cast<int>(size))) return CString();
    if (::getcwd(buffer.GetBuffer(), size + 1)) {
      // A name with no code page 932 form would name another folder.
      std::string text;
      if (!Utf8ToCp932(buffer.GetText(), std::strlen(buffer.GetText()), &text)) return CString();
      return CString(text.c_str());
    }
    if (errno != ERANGE) return CString();
  }
  return CString();
}

CString GetModulePath() {
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return CString();
  buffer[static_cast<size_t>(n)] = '\0';
  return FromNativePath(buffer.data());
}

bool GetFileId(const CString& path, FileId* id) {
  struct stat info;
  const std::string native = ToNativePath(path);
  if (native.empty() || ::stat(native.c_str(), &info) != 0) return false;
  id->volume = static_cast<std::uint64_t>(info.st_dev);
  id->index = static_cast<std::uint64_t>(info.st_ino);
  return true;
}

bool MoveFileReplacing(const CString& from, const CString& to) {
  const std::string source = ToNativePath(from);
  const std::string target = ToNativePath(to);
  if (source.empty() || target.empty()) return false;
  // As on Windows, a target another opener holds is not replaced: hold its
  // lock across the rename.
  const int held = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) != 0) {
    ::close(held);
    return false;
  }
  const bool moved = ::rename(source.c_str(), target.c_str()) == 0;
  if (held >= 0) ::close(held);
  if (!moved) return false;
  // Make the rename itself durable: sync the directory that holds it.
  const std::string::size_type slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return true;
}

}  // namespace Core
