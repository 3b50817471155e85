// The destination side of an item: the identity check against the source,
// the backup copy, and putting the converted lines in place. The old
// destination stays under its name until the new one replaces it in one
// step, so a killed or failed run never leaves a cut file behind.
#include "engine/EngineMessages.h"
#include "foundation/FileSystem.h"
#include "foundation/Memory.h"
#include "engine/ListAppend.h"
#include "engine/PreProcesser.h"
#include "foundation/ReplacingFile.h"

namespace {

bool FlushChunk(Core::CReplacingFile& file, CTextBuffer& chunk) {
  const bool written = file.Write(chunk.GetText(), chunk.GetLength());
  chunk.Clear();
  return written;
}

}  // namespace

// Sets *same when the path names the source; false when that cannot be
// told (the file's identity could not be looked up).
bool CPreProcesser::IsSourceFile(const Core::CString& path, bool* same) const {
  *same = false;
  // Without the source's identity only the same spelling can be caught.
  if (!m_bSourceHasId) {
    *same = path == m_strSource;
    return true;
  }
  Core::FileId id;
  switch (Core::GetFileId(path, &id)) {
    case Core::PathState::kPresent:
      *same = id == m_sourceId;
      return true;
    case Core::PathState::kMissing:
      return true;
    case Core::PathState::kUnknown:
      break;
  }
  return false;
}

bool CPreProcesser::IsReplaceable(const Core::CString& destination) const {
  const Core::ReplaceState state = Core::GetReplaceState(destination);
  return state == Core::ReplaceState::kMissing || state == Core::ReplaceState::kReplaceable;
}

// Sets *written when this run wrote the file at the path; false when that
// cannot be told.
bool CPreProcesser::WrittenThisRun(const Core::CString& destination, bool* written) const {
  *written = false;
  Core::FileId id;
  const Core::PathState state = Core::GetFileId(destination, &id);
  if (state != Core::PathState::kPresent) return state == Core::PathState::kMissing;
  for (int i = 0; i < m_aWritten.GetSize(); ++i) {
    if (m_aWritten[i] == id) *written = true;
  }
  return true;
}

bool CPreProcesser::BackUpDestination(const Core::CString& destination) {
  // A look that cannot tell decides nothing: taken for "no", the user's
  // file would be replaced without a backup, or this run's output copied
  // over the backup.
  const Core::PathState state = Core::QueryPath(destination);
  if (state == Core::PathState::kUnknown) return false;
  const bool exists = state == Core::PathState::kPresent;
  // A file this run wrote holds no user's content: the backup already
  // holds what was there before the run.
  bool writtenThisRun = false;
  if (exists && !WrittenThisRun(destination, &writtenThisRun)) return false;
  const Core::CString backup = destination + ".bak";
  // A source named like the backup would be overwritten while it is read.
  bool backupIsSource = false;
  if (exists && !writtenThisRun && !IsSourceFile(backup, &backupIsSource)) return false;
  // A look-up that ran out of memory answers "no" as well.
  if (OutOfMemory()) return false;
  if (!exists || writtenThisRun) return true;
  return !backupIsSource && Core::CopyFileReplacing(destination, backup);
}

void CPreProcesser::DropDestination(const Core::CString& destination) {
  // Its content is in the backup (or was written by this run). One that
  // cannot be removed stays as it is: nothing is lost, and the item is
  // reported as stopped either way.
  if (Core::QueryPath(destination) == Core::PathState::kPresent)
    (void)Core::RemoveFile(destination);
}

// The new file is made before the pass, so that the output goes there a
// piece at a time instead of standing whole in memory. When it cannot be
// made, the pass keeps the whole output and WriteDestination tries again
// and reports, after the pass's own messages, as it would for any item.
void CPreProcesser::OpenDestination(const Core::CString& destination, Core::CReplacingFile& file) {
  m_pOutputFile = file.Open(destination, Core::CReplacingFile::kReplaceLink) ? &file : nullptr;
  m_bOutputInPieces = m_pOutputFile != nullptr;
}

// A failed write spoils the file, which then fails every later write and
// its commit: the rest of the pass only drops its output. So does a pass
// that could not change over from comparing to writing.
void CPreProcesser::FlushOutput() {
  if (m_output.IsEmpty()) return;
  if (m_pMatch) {
    const CDestinationMatch::Match match =
        m_pMatch->Compare(m_output.GetText(), m_output.GetLength());
    if (match == CDestinationMatch::Match::kSame) {
      m_output.Clear();
      return;
    }
    Diverge(match);
  }
  if (m_pOutputFile) {
    (void)FlushChunk(*m_pOutputFile, m_output);
  } else {
    m_output.Clear();
  }
}

int CPreProcesser::WriteDestination(const Core::CString& destination, Core::CReplacingFile& file) {
  // Room to remember the file first: a written file that this run forgot
  // would be backed up again, over what was there before the run.
  const int slot = m_aWritten.GetSize();
  Core::FileId unknown;
  bool written = ListAppend::Append(m_aWritten, unknown);
  const bool opened =
      written && (file.IsOpen() || file.Open(destination, Core::CReplacingFile::kReplaceLink));
  // Nothing is put in place after a failed allocation; on a failed write
  // the old destination stays as it was.
  written = opened && (m_output.IsEmpty() || FlushChunk(file, m_output)) &&
            file.GetId(&m_aWritten[slot]) && !OutOfMemory() && file.Commit(false);
  if (written) return 1;
  file.Abort();
  m_aWritten.SetSize(slot);
  if (OutOfMemory()) {
    AddOutOfMemoryMessage(m_strSource);
  } else {
    AddItemMessage(opened ? EngineText::kWriteFailed : EngineText::kCreateFailed, destination);
  }
  return 0;
}
