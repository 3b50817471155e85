#include <windows.h>

#include "foundation/FileFaultError.h"

namespace Core::FileFault {
void SetInjectedError(bool diskFull) { SetLastError(diskFull ? ERROR_DISK_FULL : ERROR_IO_DEVICE); }
}  // namespace Core::FileFault
