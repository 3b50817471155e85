// Splitting item paths and converting them between absolute form and the
// ".\" / "..\" form relative to a project directory.
#pragma once

#include "foundation/String.h"

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

// Which paths count as rooted. Drive letters always do, with the exact
// rules of Windows paths; on POSIX a path beginning with '/' does too, and
// is converted with "./" and "../" forms and '/' separators.
enum class RootRule { kDriveOnly, kDriveOrSlash };

// The rule of the platform the program runs on.
RootRule PlatformRootRule();

// The path relative to the base directory (".\" or "..\" form), or a copy
// of the path when both do not share a root (drive).
CString RelativePath(const CString& path, const CString& base, RootRule rule);
inline CString RelativePath(const CString& path, const CString& base) {
  return RelativePath(path, base, PlatformRootRule());
}

// The path resolved against the base directory, or a copy of the path when
// it is rooted itself or the base is not.
CString AbsolutePath(const CString& path, const CString& base, RootRule rule);
inline CString AbsolutePath(const CString& path, const CString& base) {
  return AbsolutePath(path, base, PlatformRootRule());
}

// The drive and directory of a path, up to and including its last
// separator ("C:\\dir\\" of "C:\\dir\\a.c"); empty for a bare file name.
CString DirectoryOf(const CString& path);

// True when the last character is a single-byte backslash: the second byte
// of a double-byte character never counts.
bool EndsWithBackslash(const CString& text);

// The path taken against a '/'-rooted directory by names: a path beginning
// with a separator starts at the root, "." is dropped, ".." removes the name
// before it (never above the root), and '/' separates the result.
CString JoinByNames(const CString& directory, const CString& path);

// A path given on the command line made absolute as the system does it: on
// Windows by GetFullPathNameA (a leading backslash names the current
// drive's root, '/' separates, ".." is resolved), on POSIX by JoinByNames
// against the current directory. False for an empty path, or when the
// current directory is needed and cannot be determined.
bool FullPath(const CString& path, CString* full);

// The path as the system names the file: on POSIX in UTF-8 with '/'
// separators (a name that is no code page 932 text keeps its bytes), on
// Windows the path itself. Empty when memory runs out.
CString SystemPath(const CString& path);

}  // namespace Core
