#include <cstring>

#include "foundation/StaleTemporaries.h"

namespace Core {

namespace {

// Reads one run of digits; false when there is none or it exceeds the limit.
bool ReadNumber(const char** p, unsigned long limit, unsigned long* value) {
  const char* start = *p;
  unsigned long number = 0;
  for (; **p >= '0' && **p <= '9'; ++*p) {
    const unsigned long digit = static_cast<unsigned long>(**p - '0');
    if (number > (limit - digit) / 10) return false;
    number = number * 10 + digit;
  }
  *value = number;
  return *p != start;
}

}  // namespace

bool ParseTemporaryName(const char* entry, const char* name, unsigned long* pid) {
  const std::size_t length = std::strlen(name);
  if (length == 0 || std::strncmp(entry, name, length) != 0) return false;
  const char* p = entry + length;
  constexpr char kMark[] = ".tovi-";
  if (std::strncmp(p, kMark, sizeof kMark - 1) != 0) return false;
  p += sizeof kMark - 1;
  unsigned long number = 0;
  unsigned long counter = 0;
  if (!ReadNumber(&p, 0x7FFFFFFFul, &number) || *p++ != '-') return false;
  // The counter only has to be digits; its value does not matter.
  if (!ReadNumber(&p, ~0ul, &counter) || *p != '\0') return false;
  // No process has the number 0: kill() and OpenProcess read it as another.
  if (number == 0) return false;
  *pid = number;
  return true;
}

}  // namespace Core
