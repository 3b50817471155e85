#include <chrono>
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

bool ParseTemporaryName(const char* entry, unsigned long* pid) {
  // The last mark: a name may hold one of its own.
  constexpr char kMark[] = ".tovi-";
  const char* mark = nullptr;
  for (const char* found = std::strstr(entry, kMark); found;
       found = std::strstr(found + 1, kMark)) {
    mark = found;
  }
  if (!mark || mark == entry) return false;
  const char* p = mark + sizeof kMark - 1;
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

bool SweptLately(const CString& folder) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kAgain = std::chrono::seconds(10);
  constexpr int kFolders = 8;
  static CString s_folders[kFolders];
  static Clock::time_point s_swept[kFolders];
  const Clock::time_point now = Clock::now();
  int slot = 0;
  for (int i = 0; i < kFolders; ++i) {
    if (!s_folders[i].IsEmpty() && s_folders[i] == folder) {
      if (now - s_swept[i] < kAgain) return true;
      slot = i;
      break;
    }
    if (s_swept[i] < s_swept[slot]) slot = i;
  }
  // A folder name that cannot be kept is looked through again next time.
  s_folders[slot] = folder;
  s_swept[slot] = now;
  return false;
}

}  // namespace Core
