// Paths between code page 932 inside and the POSIX system: a single-byte
// backslash becomes '/' (the second byte of a double-byte character is left
// alone) and the text becomes UTF-8, as file names on POSIX systems are.
#pragma once

#include "foundation/String.h"

namespace Core {
// Empty when memory runs out.
CString ToNativePath(const CString& path);
// A name from the system as code page 932 text (its bytes when it is no UTF-8).
CString FromNativePath(const char* native);
}  // namespace Core
