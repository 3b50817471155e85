#include <cstdio>
#include <string>

#include "Console.h"
#include "Cp932Utf8.h"

namespace Core {

void SetBinaryStdio() {}

namespace {
bool WriteStream(std::FILE* stream, const char* bytes, std::size_t length) {
  return std::fwrite(bytes, 1, length, stream) == length && std::fflush(stream) == 0;
}
}  // namespace

bool WriteStdout(const char* bytes, std::size_t length) { return WriteStream(stdout, bytes, length); }
bool WriteStderr(const char* bytes, std::size_t length) { return WriteStream(stderr, bytes, length); }

bool ConsoleDefaultsToUtf8() { return true; }

CString ArgumentText(const char* argument) {
  std::string text;
  if (argument && Utf8ToCp932(argument, std::string(argument).size(), &text)) {
    return CString(text.c_str());
  }
  return CString(argument);
}

}  // namespace Core
