// POSIX builds accept Windows-style separators: a single-byte backslash
// becomes '/' (the second byte of a double-byte character is left alone).
#pragma once

#include <string>

#include "String.h"

namespace Core {
std::string ToNativePath(const CString& path);
}  // namespace Core
