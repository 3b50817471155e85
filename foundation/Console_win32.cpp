#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "foundation/Console.h"

namespace Core {

void SetBinaryStdio() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

bool ConsoleDefaultsToUtf8() { return false; }

// Arguments arrive in the ANSI code page, which is 932 on the systems the
// program is made for.
bool ArgumentText(const char* argument, CString* text) {
  if (!argument) return false;
  *text = argument;
  return true;
}

}  // namespace Core
