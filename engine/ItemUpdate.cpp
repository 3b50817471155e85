// Converting one item only when its destination changes: the output is
// compared with the destination as it is made, and only written (backed
// up and replaced as ConvertFile does it) from the first difference on.
#include "engine/EngineMessages.h"
#include "foundation/FileSystem.h"
#include "engine/PreProcesser.h"

CPreProcesser::UpdateResult CPreProcesser::UpdateItem(const Core::CString& source,
                                                      const Core::CString& destination) {
  Core::CFile file;
  if (!OpenSource(source, destination, file) || !CheckReplaceable(source, destination)) {
    return UpdateResult::kFailed;
  }
  CDestinationMatch match;
  if (!match.Open(destination)) {
    // A missing destination is written as ConvertFile writes it. One that
    // is there (or may be) but cannot be read could not be backed up
    // either: the item stops as ConvertFile's would.
    const Core::PathState state = Core::QueryPath(destination);
    if (OutOfMemory()) {
      AddOutOfMemoryMessage(source);
      return UpdateResult::kFailed;
    }
    if (state != Core::PathState::kMissing) {
      AddItemMessage(EngineText::kBackupFailed, destination);
      return UpdateResult::kFailed;
    }
    return ConvertOpened(file, destination) ? UpdateResult::kWritten : UpdateResult::kFailed;
  }
  ReadSource(file);
  Core::CReplacingFile output;
  m_pMatch = &match;
  m_pUpdateFile = &output;
  m_bOutputInPieces = true;
  const int processed = ProcessLines();
  if (processed) EndMatch();
  const bool diverged = m_pMatch == nullptr;
  m_pMatch = nullptr;
  m_pUpdateFile = nullptr;
  m_pOutputFile = nullptr;
  m_bOutputInPieces = false;
  match.Close();
  EndSource(file);
  if (!processed) {
    output.Abort();
    DropFailedDestination(destination);
    return UpdateResult::kFailed;
  }
  if (!diverged) return UpdateResult::kUnchanged;
  // The old destination is backed up only now that it is replaced; it is
  // still what it was before the pass.
  const bool ready = !OutOfMemory() && m_nDivergeFailure == kDivergeNone &&
                     BackUpDestination(destination) && !OutOfMemory();
  if (!ready) {
    output.Abort();
    if (OutOfMemory()) {
      AddOutOfMemoryMessage(source);
    } else {
      AddItemMessage(m_nDivergeFailure == kDivergeCreateFailed ? EngineText::kCreateFailed
                                                               : EngineText::kBackupFailed,
                     destination);
    }
    return UpdateResult::kFailed;
  }
  return WriteDestination(destination, output) ? UpdateResult::kWritten : UpdateResult::kFailed;
}

// After a complete pass: the output's last piece, then whether the
// destination goes on beyond it.
void CPreProcesser::EndMatch() {
  if (m_pMatch && !m_output.IsEmpty()) FlushOutput();
  if (!m_pMatch) return;
  const CDestinationMatch::Match end = m_pMatch->CompareEnd();
  if (end != CDestinationMatch::Match::kSame) Diverge(end);
}

// The output differs from the destination: from here on it goes to a new
// file, which begins with the bytes that matched. When that file cannot be
// made, the rest of the pass drops its output and the item fails after it,
// as ConvertFile's item does when its new file cannot be made. A failed
// read of the destination is no difference: the item fails the same way.
void CPreProcesser::Diverge(CDestinationMatch::Match why) {
  CDestinationMatch& match = *m_pMatch;
  m_pMatch = nullptr;
  match.Close();
  if (why == CDestinationMatch::Match::kReadFailed) {
    m_nDivergeFailure = kDivergeReadFailed;
    return;
  }
  Core::CReplacingFile& file = *m_pUpdateFile;
  if (!file.Open(match.GetPath(), Core::CReplacingFile::kReplaceLink)) {
    m_nDivergeFailure = kDivergeCreateFailed;
    return;
  }
  if (!match.CopyMatched(file)) {
    file.Abort();
    m_nDivergeFailure = kDivergeReadFailed;
    return;
  }
  m_pOutputFile = &file;
}

// A pass that stopped drops the destination as ConvertFile's does, after
// backing it up; one whose backup cannot be made stays. A file that could
// not be read says nothing about the destination, and a lack of memory
// keeps it too (the backup refuses then).
void CPreProcesser::DropFailedDestination(const Core::CString& destination) {
  if (m_bReadFailed || OutOfMemory()) return;
  if (BackUpDestination(destination)) {
    DropDestination(destination);
  } else if (!OutOfMemory()) {
    AddItemMessage(EngineText::kBackupFailed, destination);
  }
}
