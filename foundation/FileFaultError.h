// The platform half of the file fault point.
#pragma once

namespace Core::FileFault {
// Sets the system's last error as a failed file call would: an I/O error,
// or a full disk.
void SetInjectedError(bool diskFull);
}  // namespace Core::FileFault
