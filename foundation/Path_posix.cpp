#include "foundation/FileSystem.h"
#include "foundation/Memory.h"
#include "foundation/NativePath_posix.h"
#include "foundation/Path.h"

namespace Core {
// POSIX file names are rooted at '/', beside the drive letters of projects
// made on Windows.
RootRule PlatformRootRule() { return RootRule::kDriveOrSlash; }

bool FullPath(const CString& path, CString* full) {
  if (path.IsEmpty()) return false;
  // A failed allocation could drop a name and make another path.
  const CAllocationWatch memory;
  const char first = path.GetText()[0];
  if (first == '/' || first == '\\') {
    *full = JoinByNames(CString("/"), path);
    return !full->IsEmpty() && !memory.Failed();
  }
  const CString current = GetCurrentDir();
  if (current.IsEmpty()) return false;
  *full = JoinByNames(current, path);
  return !full->IsEmpty() && !memory.Failed();
}

CString SystemPath(const CString& path) { return ToNativePath(path); }
}  // namespace Core
