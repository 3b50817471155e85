#include "app/core/SaveAsName.h"

#include <cstring>

namespace {
constexpr char kExtension[] = ".tvx";
constexpr int kExtensionLength = sizeof kExtension - 1;
}  // namespace

Core::CString SaveAsName(const Core::CString& chosen) {
  // '.' is never a double-byte character's second byte, so a byte match at
  // the end is a match of whole characters.
  const int length = chosen.GetLength();
  if (length >= kExtensionLength &&
      std::strcmp(chosen.GetText() + length - kExtensionLength, kExtension) == 0)
    return chosen;
  return chosen + kExtension;
}
