#include "ConsoleOutput.h"

#include "Cp932Utf8.h"

std::string EncodeForConsole(const Core::CString& text, OutputEncoding encoding) {
  const std::string raw(text.GetText());
  if (encoding == OutputEncoding::kCp932) return raw;
  std::string utf8;
  Core::Cp932ToUtf8(raw.data(), raw.size(), &utf8);
  return utf8;
}

std::string Counted(int count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}
