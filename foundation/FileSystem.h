// File-system operations on code page 932 paths. On POSIX a backslash is
// taken as a separator too (turned into '/' when the path reaches the
// operating system).
#pragma once

#include "foundation/File.h"
#include "foundation/String.h"

namespace Core {

// What a look at a path found. A look that failed for any other reason
// than "no such file" cannot tell, and wherever the answer decides what is
// written or backed up, cannot tell is a failure.
enum class PathState {
  kMissing,  // no file or directory (or no folder on the way to it)
  kPresent,
  kUnknown,  // the look itself failed
};

// Whether a file or directory exists at the path.
PathState QueryPath(const CString& path);
// True when the path names an existing directory.
bool IsDirectory(const CString& path);
// Copies a regular file over the target in one step (a symlink at the
// target is replaced, not written through); the copy keeps the source's
// permission bits. False on any failure, the target then as it was.
bool CopyFileReplacing(const CString& from, const CString& to);
bool RemoveFile(const CString& path);
bool SetCurrentDir(const CString& path);
// The current directory without a trailing separator, however long; empty
// when it cannot be determined (on POSIX also when its name has no code
// page 932 form).
CString GetCurrentDir();
// Full path of the running program (empty on failure).
CString GetModulePath();
// Identity of the file at the path; *id is set only when present.
PathState GetFileId(const CString& path, FileId* id);

// What tells one version of a file from another: equal stamps mean the
// file was, as far as the system can tell, not written, replaced or
// recreated in between.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t time = 0;  // last write, at the system's full resolution
  FileId id;
  bool operator==(const FileStamp& other) const {
    return size == other.size && time == other.time && id == other.id;
  }
};
// The stamp of the file or directory at the path; *stamp is set only when present.
PathState GetFileStamp(const CString& path, FileStamp* stamp);

// A path as seen at one moment: missing, present with its stamp, or a
// look that could not tell, which is a state of its own and never taken
// for "missing".
struct FileLook {
  PathState state = PathState::kUnknown;
  FileStamp stamp;
  bool operator==(const FileLook& other) const {
    return state == other.state && (state != PathState::kPresent || stamp == other.stamp);
  }
};
inline FileLook LookAtFile(const CString& path) {
  FileLook seen;
  seen.state = GetFileStamp(path, &seen.stamp);
  return seen;
}

}  // namespace Core
