#include "FileSystem.h"
#include "Path.h"

namespace Core {
// POSIX file names are rooted at '/', beside the drive letters of projects
// made on Windows.
RootRule PlatformRootRule() { return RootRule::kDriveOrSlash; }

bool FullPath(const CString& path, CString* full) {
  if (path.IsEmpty()) return false;
  const char first = path.GetText()[0];
  if (first == '/' || first == '\\') {
    *full = JoinByNames(CString("/"), path);
    return !full->IsEmpty();
  }
  const CString current = GetCurrentDir();
  if (current.IsEmpty()) return false;
  *full = JoinByNames(current, path);
  return !full->IsEmpty();
}
}  // namespace Core
