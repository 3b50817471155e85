#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "Console.h"

namespace Core {

void SetBinaryStdio() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

namespace {
bool WriteStream(std::FILE* stream, const char* bytes, std::size_t length) {
  return std::fwrite(bytes, 1, length, stream) == length && std::fflush(stream) == 0;
}
}  // namespace

bool WriteStdout(const char* bytes, std::size_t length) { return WriteStream(stdout, bytes, length); }
bool WriteStderr(const char* bytes, std::size_t length) { return WriteStream(stderr, bytes, length); }

bool ConsoleDefaultsToUtf8() { return false; }

// Arguments arrive in the ANSI code page, which is 932 on the systems the
// program is made for.
CString ArgumentText(const char* argument) { return CString(argument); }

}  // namespace Core
