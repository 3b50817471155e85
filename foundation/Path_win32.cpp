#include <windows.h>

#include "foundation/Path.h"

namespace Core {
RootRule PlatformRootRule() { return RootRule::kDriveOnly; }

bool FullPath(const CString& path, CString* full) {
  if (path.IsEmpty()) return false;
  const DWORD size = GetFullPathNameA(path.GetText(), 0, nullptr, nullptr);
  CString buffer;
  if (size == 0 || !buffer.AllocBuffer(static_cast<int>(size))) return false;
  const DWORD length = GetFullPathNameA(path.GetText(), size, buffer.GetBuffer(), nullptr);
  // A length of size or more: the current directory changed in between.
  if (length == 0 || length >= size) return false;
  *full = buffer;
  return !full->IsEmpty();
}

CString SystemPath(const CString& path) { return path; }
}  // namespace Core
