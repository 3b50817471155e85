#include <string>

#include "Console.h"
#include "Cp932Utf8.h"

namespace Core {

void SetBinaryStdio() {}

bool ConsoleDefaultsToUtf8() { return true; }

CString ArgumentText(const char* argument) {
  std::string text;
  if (argument && Utf8ToCp932(argument, std::string(argument).size(), &text)) {
    return CString(text.c_str());
  }
  return CString(argument);
}

}  // namespace Core
