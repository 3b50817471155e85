#include <csignal>
#include <cstring>
#include <string>

#include "foundation/Console.h"
#include "foundation/Cp932Utf8.h"

namespace Core {

// Cannot fail: SIGPIPE may always be ignored.
void SetBinaryStdio() { (void)std::signal(SIGPIPE, SIG_IGN); }

bool ConsoleDefaultsToUtf8() { return true; }

bool ArgumentText(const char* argument, CString* text) {
  std::string converted;
  if (!argument || !Utf8ToCp932(argument, std::strlen(argument), &converted)) return false;
  *text = converted.c_str();
  return true;
}

}  // namespace Core
