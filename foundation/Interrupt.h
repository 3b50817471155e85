// Ctrl+C as a request to stop rather than the end of the program: on POSIX
// SIGINT and SIGTERM, on Windows Ctrl+C, Ctrl+Break and closing the console
// set a flag that the program looks at between steps.
#pragma once

#include <atomic>

namespace Core {

// From now on an interrupt sets *flag (which must outlive the program's
// run). A second Ctrl+C on POSIX ends the program as usual, for a step
// that does not end. False when the handlers could not be installed.
bool CatchInterrupts(std::atomic<bool>* flag);

}  // namespace Core
