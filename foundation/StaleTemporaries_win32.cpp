#include <windows.h>

#include <cstring>

#include "foundation/Path.h"
#include "foundation/StaleTemporaries.h"

namespace Core {

namespace {

// Only a process that certainly ended counts: one that exists but cannot
// be opened, or any other failure, keeps its temporary.
bool HasEnded(unsigned long number) {
  const DWORD pid = static_cast<DWORD>(number);
  if (pid == GetCurrentProcessId()) return false;
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
  const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

}  // namespace

void RemoveStaleTemporaries(const CString& target) {
  // The folder part is found by code page 932 characters: a second byte
  // 0x5C in the file name is no separator.
  const CString folder = DirectoryOf(target);
  const int length = folder.GetLength();
  if (std::strncmp(folder.GetText(), target.GetText(), static_cast<std::size_t>(length)) != 0) {
    return;
  }
  if (target.GetText()[length] == '\0' || SweptLately(folder)) return;
  CString pattern(folder);
  pattern += "*.tovi-*";
  if (pattern.GetLength() != length + 8) return;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern.GetText(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  constexpr DWORD kNotPlain =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
  do {
    // The pattern also matches short names and looser spellings: the long
    // name itself must have the exact form.
    unsigned long pid = 0;
    if ((found.dwFileAttributes & kNotPlain) != 0 || !ParseTemporaryName(found.cFileName, &pid) ||
        !HasEnded(pid)) {
      continue;
    }
    CString path(folder);
    path += found.cFileName;
    // A temporary being written is open without sharing: deleting it fails.
    if (path.GetLength() == length + static_cast<int>(std::strlen(found.cFileName))) {
      (void)DeleteFileA(path.GetText());
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace Core
