// Copying a file over another through a temporary: an interrupted or
// failed copy leaves the old target whole.
#include "foundation/FileSystem.h"
#include "foundation/Memory.h"
#include "foundation/ReplacingFile.h"

namespace Core {

bool CopyFileReplacing(const CString& from, const CString& to) {
  constexpr int kChunk = 64 * 1024;
  CFile in;
  if (!in.Open(from, false, false)) return false;
  CReplacingFile out;
  if (!out.Open(to, CReplacingFile::kReplaceLink, &in)) return false;
  char* buffer = static_cast<char*>(AllocateBlock(kChunk));
  if (!buffer) return false;
  bool ok = true;
  for (int n; ok && (n = in.Read(buffer, kChunk)) != 0;)
    ok = n > 0 && out.Write(buffer, static_cast<std::size_t>(n));
  ReleaseBlock(buffer, kChunk);
  return ok && out.Commit(false);
}

}  // namespace Core
