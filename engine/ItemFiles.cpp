// The destination side of an item: the identity check against the source,
// the backup copy, and putting the converted lines in place. The old
// destination stays under its name until the new one replaces it in one
// step, so a killed or failed run never leaves a cut file behind.
#include "EngineMessages.h"
#include "FileSystem.h"
#include "Memory.h"
#include "PreProcesser.h"
#include "ReplacingFile.h"

namespace {

bool FlushChunk(Core::CReplacingFile& file, CTextBuffer& chunk) {
  const bool written = file.Write(chunk.GetText(), chunk.GetLength());
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

bool CPreProcesser::IsReplaceable(const Core::CString& destination) const {
  const Core::ReplaceState state = Core::GetReplaceState(destination);
  return state == Core::ReplaceState::kMissing || state == Core::ReplaceState::kReplaceable;
}

bool CPreProcesser::WrittenThisRun(const Core::CString& destination) const {
  Core::FileId id;
  if (!Core::GetFileId(destination, &id)) return false;
  for (int i = 0; i < m_aWritten.GetSize(); ++i) {
    if (m_aWritten[i] == id) return true;
  }
  return false;
}

bool CPreProcesser::BackUpDestination(const Core::CString& destination) {
  if (!Core::PathExists(destination)) return true;
  // A file this run wrote holds no user's content: the backup already
  // holds what was there before the run.
  if (WrittenThisRun(destination)) return true;
  const Core::CString backup = destination + ".bak";
  // A source named like the backup would be overwritten while it is read.
  return !backup.IsEmpty() && !IsSourceFile(backup) && Core::CopyFileReplacing(destination, backup);
}

void CPreProcesser::DropDestination(const Core::CString& destination) {
  // Its content is in the backup (or was written by this run).
  if (Core::PathExists(destination)) Core::RemoveFile(destination);
}

int CPreProcesser::WriteDestination(const Core::CString& destination) {
  const std::size_t failures = Core::AllocationFailureCount();
  // Room to remember the file first: a written file that this run forgot
  // would be backed up again, over what was there before the run.
  const int slot = m_aWritten.GetSize();
  Core::CReplacingFile file;
  bool written = m_aWritten.SetSize(slot + 1);
  const bool opened = written && file.Open(destination, Core::CReplacingFile::kReplaceLink);
  // Nothing is put in place after a failed allocation; on a failed write
  // the old destination stays as it was.
  written = opened && WriteLines(file) && file.GetId(&m_aWritten[slot]) &&
            Core::AllocationFailureCount() == failures && file.Commit(false);
  if (written) return 1;
  m_aWritten.SetSize(slot);
  if (Core::AllocationFailureCount() != failures) {
    AddOutOfMemoryMessage(m_strSource);
  } else {
    AddItemMessage(opened ? EngineText::kWriteFailed : EngineText::kCreateFailed, destination);
  }
  return 0;
}

bool CPreProcesser::WriteLines(Core::CReplacingFile& file) {
  // The output is the whole text already: one write, then it is wiped.
  return m_output.IsEmpty() || FlushChunk(file, m_output);
}
