#include "foundation/Console.h"

#include <cstdio>

namespace Core {

namespace {
bool WriteStream(std::FILE* stream, const char* bytes, std::size_t length) {
  return std::fwrite(bytes, 1, length, stream) == length && std::fflush(stream) == 0;
}
}  // namespace

bool WriteStdout(const char* bytes, std::size_t length) {
  return WriteStream(stdout, bytes, length);
}
bool WriteStderr(const char* bytes, std::size_t length) {
  return WriteStream(stderr, bytes, length);
}

}  // namespace Core
