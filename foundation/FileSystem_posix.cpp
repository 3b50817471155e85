#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "foundation/Cp932Text.h"
#include "foundation/Cp932Utf8.h"
#include "foundation/FileSystem.h"
#include "foundation/Memory.h"
#include "foundation/NativePath_posix.h"
#include "foundation/SystemCalls_posix.h"

namespace Core {

CString ToNativePath(const CString& path) {
  CString slashed(path);
  for (char* p = slashed.GetBuffer(); p && *p; p += Cp932::CharLength(p)) {
    if (*p == '\\') *p = '/';  // a trail byte 0x5C is no separator: CharLength steps over it
  }
  // POSIX file names are UTF-8; a name that is no code page 932 text is
  // passed on as its bytes.
  CString native;
  switch (Cp932ToUtf8(slashed, &native)) {
    case ConvertResult::kDone:
      return native;
    case ConvertResult::kInexact:
      return slashed;
    case ConvertResult::kOutOfMemory:
      break;
  }
  return CString();
}

CString FromNativePath(const char* native) {
  CString text;
  switch (Utf8ToCp932(native, &text)) {
    case ConvertResult::kDone:
      return text;
    case ConvertResult::kInexact:
      return CString(native);
    case ConvertResult::kOutOfMemory:
      break;
  }
  return CString();
}

namespace {
// The answer of a failed look: only "no such entry" is an absence.
PathState FailedLook() {
  return errno == ENOENT || errno == ENOTDIR ? PathState::kMissing : PathState::kUnknown;
}
}  // namespace

PathState QueryPath(const CString& path) {
  struct stat info;
  const CString native = ToNativePath(path);
  if (native.IsEmpty()) return path.IsEmpty() ? PathState::kMissing : PathState::kUnknown;
  return Sys::Stat(native.GetText(), &info) == 0 ? PathState::kPresent : FailedLook();
}

bool IsDirectory(const CString& path) {
  struct stat info;
  const CString native = ToNativePath(path);
  return !native.IsEmpty() && Sys::Stat(native.GetText(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {
// CFile holds an exclusive flock on its file; a lock taken without waiting
// tells whether another opener holds one, like the Windows sharing check.
bool TryLock(int fd, int operation) { return Sys::Flock(fd, operation | LOCK_NB) == 0; }
}  // namespace

bool RemoveFile(const CString& path) {
  const CString native = ToNativePath(path);
  if (native.IsEmpty()) return false;
  // A file a CFile holds stays, as on Windows.
  const int fd = Sys::Open(native.GetText(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    const bool held = !TryLock(fd, LOCK_EX);
    (void)Sys::Close(fd);
    if (held) return false;
  }
  return Sys::Unlink(native.GetText()) == 0;
}

bool SetCurrentDir(const CString& path) {
  const CString native = ToNativePath(path);
  return !native.IsEmpty() && ::chdir(native.GetText()) == 0;
}

CString GetCurrentDir() {
  // A directory may be longer than PATH_MAX: grow until it fits.
  for (std::size_t size = PATH_MAX; size < kMaxBlockSize; size *= 2) {
    CString buffer;
    if (!buffer.AllocBuffer(static_cast<int>(size))) return CString();
    if (::getcwd(buffer.GetBuffer(), size + 1)) {
      // A name with no code page 932 form would name another folder.
      CString text;
      return Utf8ToCp932(buffer.GetText(), &text) == ConvertResult::kDone ? text : CString();
    }
    if (errno != ERANGE) return CString();
  }
  return CString();
}

CString GetModulePath() {
  CString buffer;
  if (!buffer.AllocBuffer(PATH_MAX)) return CString();
  const ssize_t n = ::readlink("/proc/self/exe", buffer.GetBuffer(), PATH_MAX);
  if (n <= 0 || n >= PATH_MAX) return CString();
  return FromNativePath(buffer.GetText());
}

PathState GetFileId(const CString& path, FileId* id) {
  FileStamp stamp;
  const PathState state = GetFileStamp(path, &stamp);
  if (state == PathState::kPresent) *id = stamp.id;
  return state;
}

PathState GetFileStamp(const CString& path, FileStamp* stamp) {
  struct stat info;
  const CString native = ToNativePath(path);
  if (native.IsEmpty()) return path.IsEmpty() ? PathState::kMissing : PathState::kUnknown;
  if (Sys::Stat(native.GetText(), &info) != 0) return FailedLook();
  stamp->size = static_cast<std::uint64_t>(info.st_size);
  stamp->time = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  stamp->id.volume = static_cast<std::uint64_t>(info.st_dev);
  stamp->id.index = static_cast<std::uint64_t>(info.st_ino);
  return PathState::kPresent;
}

}  // namespace Core
