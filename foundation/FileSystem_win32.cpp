#include <windows.h>

#include "foundation/FileSystem.h"
#include "foundation/Path.h"

namespace Core {

bool PathExists(const CString& path) {
  return !path.IsEmpty() && GetFileAttributesA(path.GetText()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const CString& path) {
  if (path.IsEmpty()) return false;
  const DWORD attributes = GetFileAttributesA(path.GetText());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const CString& path) { return !path.IsEmpty() && DeleteFileA(path.GetText()); }

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

bool GetFileId(const CString& path, FileId* id) {
  if (path.IsEmpty()) return false;
  // No access rights and full sharing: works beside an exclusive opener.
  const HANDLE handle =
      CreateFileA(path.GetText(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!ok) return false;
  id->volume = info.dwVolumeSerialNumber;
  id->index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace Core
