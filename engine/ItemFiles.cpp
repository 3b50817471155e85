// The destination side of an item: the identity check against the source,
// the backup copy, and writing the converted lines.
#include "EngineMessages.h"
#include "FileSystem.h"
#include "PreProcesser.h"

namespace {

constexpr std::size_t kWriteChunk = 64 * 1024;

bool FlushChunk(Core::CFile& file, CTextBuffer& chunk) {
  const bool written = file.Write(chunk.GetText(), static_cast<int>(chunk.GetLength()));
  chunk.Clear();
  return written;
}

}  // namespace

bool CPreProcesser::IsSourceFile(const Core::CString& path) const {
  // Without the source's identity only the same spelling can be caught.
  if (!m_bSourceHasId) return path == m_strSource;
  Core::FileId id;
  return Core::GetFileId(path, &id) && id == m_sourceId;
}

bool CPreProcesser::BackUpDestination(const Core::CString& destination) {
  if (!Core::PathExists(destination)) return true;
  const Core::CString backup = destination + ".bak";
  // A source named like the backup would be overwritten while it is read.
  if (IsSourceFile(backup) || !Core::CopyFileReplacing(destination, backup)) return false;
  Core::RemoveFile(destination);
  return true;
}

int CPreProcesser::WriteDestination(const Core::CString& destination) {
  Core::CFile file;
  if (!file.Open(destination, true, true)) {
    AddItemMessage(EngineText::kCreateFailed, destination);
    return 0;
  }
  if (!WriteLines(file)) {
    // A cut-off file must not pass for a result; the old one is in the backup.
    file.Close();
    Core::RemoveFile(destination);
    AddItemMessage(EngineText::kWriteFailed, destination);
    return 0;
  }
  file.Close();
  return 1;
}

bool CPreProcesser::WriteLines(Core::CFile& file) {
  // The output is the whole text already: one write, then it is wiped.
  return m_output.IsEmpty() || FlushChunk(file, m_output);
}
