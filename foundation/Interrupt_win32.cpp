#include <windows.h>

#include "foundation/Interrupt.h"

namespace Core {

namespace {
std::atomic<bool>* g_pFlag = nullptr;

// Runs on a thread of its own that the system starts.
BOOL WINAPI OnControl(DWORD type) {
  g_pFlag->store(true);
  // Once the handler returns from these, the system ends the process: give
  // the item in progress time to finish (the program's own end ends the wait).
  if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) {
    Sleep(4000);
  }
  return TRUE;
}
}  // namespace

bool CatchInterrupts(std::atomic<bool>* flag) {
  g_pFlag = flag;
  return SetConsoleCtrlHandler(OnControl, TRUE) != 0;
}

}  // namespace Core
