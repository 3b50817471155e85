#include "foundation/FileFault.h"

#include "foundation/FileFaultError.h"

namespace Core {

namespace {
int g_callsBeforeFault = -1;
Testing::FileFaultMode g_mode = Testing::FileFaultMode::kIoError;
int g_calls = 0;

// True when this call is the armed one.
bool Hit() {
  ++g_calls;
  if (g_callsBeforeFault < 0) return false;
  return g_callsBeforeFault-- == 0;
}
}  // namespace

namespace FileFault {

bool Fails() {
  if (!Hit() || g_mode == Testing::FileFaultMode::kShort) return false;
  SetInjectedError(g_mode == Testing::FileFaultMode::kDiskFull);
  return true;
}

std::size_t Transfer(std::size_t count) {
  if (!Hit()) return count;
  if (g_mode == Testing::FileFaultMode::kShort) return count > 1 ? count / 2 : count;
  SetInjectedError(g_mode == Testing::FileFaultMode::kDiskFull);
  return 0;
}

}  // namespace FileFault

namespace Testing {
void FailFileCallAfter(int successes, FileFaultMode mode) {
  g_callsBeforeFault = successes;
  g_mode = mode;
  g_calls = 0;
}
int FileCallCount() { return g_calls; }
bool FileFaultPending() { return g_callsBeforeFault >= 0; }
}  // namespace Testing

}  // namespace Core
