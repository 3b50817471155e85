#include <windows.h>

#include "foundation/FileSystem.h"
#include "foundation/Path.h"
#include "foundation/SystemCalls_win32.h"

namespace Core {

namespace {
// The answer of a failed look: only "no such file or folder" is an absence.
PathState FailedLook() {
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathState::kMissing
                                                                        : PathState::kUnknown;
}
}  // namespace

PathState QueryPath(const CString& path) {
  if (path.IsEmpty()) return PathState::kMissing;
  return Sys::Attributes(path.GetText()) != INVALID_FILE_ATTRIBUTES ? PathState::kPresent
                                                                    : FailedLook();
}

bool IsDirectory(const CString& path) {
  if (path.IsEmpty()) return false;
  const DWORD attributes = Sys::Attributes(path.GetText());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const CString& path) { return !path.IsEmpty() && Sys::Remove(path.GetText()); }

bool SetCurrentDir(const CString& path) {
  return !path.IsEmpty() && SetCurrentDirectoryA(path.GetText());
}

CString GetCurrentDir() {
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  if (size == 0) return CString();
  CString dir;
  if (!dir.AllocBuffer(static_cast<int>(size)) ||
      GetCurrentDirectoryA(size + 1, dir.GetBuffer()) == 0) {
    return CString();
  }
  // Only a drive root keeps its separator ("C:\"). A folder name ending in
  // a double-byte character whose second byte is 0x5C ends in no separator.
  const int length = dir.GetLength();
  if (length > 3 && EndsWithBackslash(dir)) dir.Delete(length - 1);
  return dir;
}

CString GetModulePath() {
  for (DWORD size = MAX_PATH; size < 0x100000; size *= 2) {
    CString path;
    if (!path.AllocBuffer(static_cast<int>(size))) return CString();
    const DWORD n = GetModuleFileNameA(nullptr, path.GetBuffer(), size);
    if (n == 0) return CString();
    if (n < size) return path;
  }
  return CString();
}

namespace {
// The file's information through a handle with no access rights and full
// sharing: works beside an exclusive opener.
PathState FileInformation(const CString& path, BY_HANDLE_FILE_INFORMATION* info) {
  if (path.IsEmpty()) return PathState::kMissing;
  const HANDLE handle =
      Sys::Create(path.GetText(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  if (handle == INVALID_HANDLE_VALUE) return FailedLook();
  const bool ok = Sys::Information(handle, info) != 0;
  (void)Sys::Close(handle);
  return ok ? PathState::kPresent : PathState::kUnknown;
}

FileId IdOf(const BY_HANDLE_FILE_INFORMATION& info) {
  FileId id;
  id.volume = info.dwVolumeSerialNumber;
  id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return id;
}
}  // namespace

PathState GetFileId(const CString& path, FileId* id) {
  BY_HANDLE_FILE_INFORMATION info;
  const PathState state = FileInformation(path, &info);
  if (state == PathState::kPresent) *id = IdOf(info);
  return state;
}

PathState GetFileStamp(const CString& path, FileStamp* stamp) {
  BY_HANDLE_FILE_INFORMATION info;
  const PathState state = FileInformation(path, &info);
  if (state != PathState::kPresent) return state;
  stamp->size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  stamp->time = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
      info.ftLastWriteTime.dwLowDateTime);
  stamp->id = IdOf(info);
  return state;
}

}  // namespace Core
