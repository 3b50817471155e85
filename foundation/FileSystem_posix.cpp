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
// CFile holds an exclusive flock on its file; a lock taken without waiting
// tells whether another opener holds one, like the Windows sharing check.
bool TryLock(int fd, int operation) { return ::flock(fd, operation | LOCK_NB) == 0; }
}  // namespace

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
  std::vector<char> buffer(PATH_MAX + 1);
  if (!::getcwd(buffer.data(), buffer.size())) return CString();
  return FromNativePath(buffer.data());
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


}  // namespace Core
