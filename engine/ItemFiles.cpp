// The destination side of an item: the identity check against the source,
// the backup copy, and putting the converted lines in place. The old
// destination stays under its name until the new one replaces it in one
// step, so a killed or failed run never leaves a cut file behind.
#include "engine/EngineMessages.h"
#include "foundation/FileSystem.h"
#include "foundation/Memory.h"
#include "engine/PreProcesser.h"
#include "foundation/ReplacingFile.h"

namespace {

bool FlushChunk(Core::CReplacingFile& file, CTextBuffer& chunk) {
  const bool written = file.Write(chunk.GetText(), chunk.GetLength());
  chunk.Clear();
  return written;
}

// One more slot at the end of the list of files this run wrote. Grown in a
// new array: a failed allocation empties the array it happens in, and the
// files already in the list must stay there.
bool AddSlot(Core::CArray<Core::FileId>& list) {
  Core::CArray<Core::FileId> grown;
  if (!grown.SetSize(list.GetSize() + 1)) return false;
  for (int i = 0; i < list.GetSize(); ++i) grown[i] = list[i];
  list.Swap(grown);
  return true;
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
  const std::size_t failures = Core::AllocationFailureCount();
  const bool exists = Core::PathExists(destination);
  // A file this run wrote holds no user's content: the backup already
  // holds what was there before the run.
  const bool writtenThisRun = exists && WrittenThisRun(destination);
  const Core::CString backup = destination + ".bak";
  // A source named like the backup would be overwritten while it is read.
  const bool backupIsSource = exists && !writtenThisRun && IsSourceFile(backup);
  // A look-up that ran out of memory answers "no": the file this run wrote
  // would pass for the user's and be copied over the backup.
  if (Core::AllocationFailureCount() != failures) return false;
  if (!exists || writtenThisRun) return true;
  return !backupIsSource && Core::CopyFileReplacing(destination, backup);
}

void CPreProcesser::DropDestination(const Core::CString& destination) {
  // Its content is in the backup (or was written by this run). One that
  // cannot be removed stays as it is: nothing is lost, and the item is
  // reported as stopped either way.
  if (Core::PathExists(destination)) (void)Core::RemoveFile(destination);
}

// The new file is made before the pass, so that the output goes there a
// piece at a time instead of standing whole in memory. When it cannot be
// made, the pass keeps the whole output and WriteDestination tries again
// and reports, after the pass's own messages, as it would for any item.
void CPreProcesser::OpenDestination(const Core::CString& destination, Core::CReplacingFile& file) {
  m_pOutputFile = file.Open(destination, Core::CReplacingFile::kReplaceLink) ? &file : nullptr;
}

// A failed write spoils the file, which then fails every later write and
// its commit: the rest of the pass only drops its output.
void CPreProcesser::FlushOutput() {
  if (!m_output.IsEmpty()) (void)FlushChunk(*m_pOutputFile, m_output);
}

int CPreProcesser::WriteDestination(const Core::CString& destination, Core::CReplacingFile& file) {
  const std::size_t failures = Core::AllocationFailureCount();
  // Room to remember the file first: a written file that this run forgot
  // would be backed up again, over what was there before the run.
  const int slot = m_aWritten.GetSize();
  bool written = AddSlot(m_aWritten);
  const bool opened =
      written && (file.IsOpen() || file.Open(destination, Core::CReplacingFile::kReplaceLink));
  // Nothing is put in place after a failed allocation; on a failed write
  // the old destination stays as it was.
  written = opened && (m_output.IsEmpty() || FlushChunk(file, m_output)) &&
            file.GetId(&m_aWritten[slot]) && Core::AllocationFailureCount() == failures &&
            file.Commit(false);
  if (written) return 1;
  file.Abort();
  m_aWritten.SetSize(slot);
  if (Core::AllocationFailureCount() != failures) {
    AddOutOfMemoryMessage(m_strSource);
  } else {
    AddItemMessage(opened ? EngineText::kWriteFailed : EngineText::kCreateFailed, destination);
  }
  return 0;
}
