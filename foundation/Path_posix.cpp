#include "Path.h"

namespace Core {
// POSIX file names are rooted at '/', beside the drive letters of projects
// made on Windows.
RootRule PlatformRootRule() { return RootRule::kDriveOrSlash; }
}  // namespace Core
