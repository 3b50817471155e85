#include <signal.h>

#include "foundation/Interrupt.h"

namespace Core {

namespace {
std::atomic<bool>* g_pFlag = nullptr;

static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void OnSignal(int) { g_pFlag->store(true); }
}  // namespace

bool CatchInterrupts(std::atomic<bool>* flag) {
  g_pFlag = flag;
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait under way ends at once. The handler goes after
  // the first signal, so a second one ends the program.
  action.sa_flags = SA_RESETHAND;
  return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

}  // namespace Core
