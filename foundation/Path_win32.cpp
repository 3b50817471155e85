#include "Path.h"

namespace Core {
RootRule PlatformRootRule() { return RootRule::kDriveOnly; }
}  // namespace Core
