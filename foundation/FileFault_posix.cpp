#include <cerrno>

#include "foundation/FileFaultError.h"

namespace Core::FileFault {
void SetInjectedError(bool diskFull) { errno = diskFull ? ENOSPC : EIO; }
}  // namespace Core::FileFault
