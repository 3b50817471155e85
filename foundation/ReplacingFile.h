// Core::CReplacingFile: writes a file's new content beside it and puts it in
// place in one step. Until Commit succeeds the target is exactly as it was,
// and a temporary left behind by a failure or a killed process never
// carries the target's name.
#pragma once

#include <cstddef>

#include "foundation/File.h"
#include "foundation/String.h"

namespace Core {

// What stands at a path, as far as replacing it is concerned.
enum class ReplaceState {
  kMissing,      // nothing: the new file is created
  kReplaceable,  // a regular file that may be written, or a symlink
  kReadOnly,     // a regular file without write permission: refused
  kNotRegular,   // a directory, FIFO, device ...: refused
};

// Looks at the path without opening it and without following a final
// symlink (a symlink is replaced, not written through).
ReplaceState GetReplaceState(const CString& path);

class CReplacingFile {
 public:
  enum LinkRule {
    kReplaceLink,  // a symlink at the target is replaced by the new file
    kFollowLink,   // the file a symlink points at is replaced; the link stays
  };

  CReplacingFile() = default;
  CReplacingFile(const CReplacingFile&) = delete;
  CReplacingFile& operator=(const CReplacingFile&) = delete;
  // Removes a temporary that was not committed.
  ~CReplacingFile();

  // Creates the temporary in the target's folder, exclusively and never
  // through a symlink. Refuses a target that is read-only or not a regular
  // file. The new file takes the permission bits of `model` when given,
  // else those of the target it replaces.
  bool Open(const CString& target, LinkRule rule, const CFile* model = nullptr);
  // Appends bytes; false (and the file is spoilt) on any failure.
  bool Write(const void* data, std::size_t size);
  // Checks every write and the close, then replaces the target. durable:
  // the data and the rename reach the disk before it returns. False (the
  // temporary removed, the target as it was) on any failure.
  bool Commit(bool durable);
  // Removes the temporary; the target stays as it was.
  void Abort();
  bool IsOpen() const { return m_hFile != 0; }
  // Identity of the new file, which the target has once committed.
  bool GetId(FileId* id) const;

 private:
  FileHandle m_hFile = 0;
  CString m_strTarget;     // the file that is replaced (a link's target when followed)
  CString m_strTemporary;  // native name on POSIX
  CString m_strFolder;     // the target's folder, synced after a durable rename (POSIX)
  bool m_bFailed = false;
};

}  // namespace Core
