// Splitting item paths and converting them between absolute form and the
// ".\" / "..\" form relative to a project directory.
#pragma once

#include "String.h"

namespace Core {

struct PathParts {
  CString drive;  // "C:" or empty
  CString dir;    // up to and including the last separator, or empty
  CString name;   // file name without extension
  CString ext;    // from the last point of the file name, or empty
};

// Splits like the C runtime's _splitpath: '\' and '/' both separate, and a
// double-byte character whose second byte is 0x5C is not a separator.
PathParts SplitPath(const CString& path);

// The path relative to the base directory (".\" or "..\" form), or a copy
// of the path when both are not on the same drive.
CString RelativePath(const CString& path, const CString& base);

// The path resolved against the base directory, or a copy of the path when
// it names a drive or the base has none.
CString AbsolutePath(const CString& path, const CString& base);

}  // namespace Core
