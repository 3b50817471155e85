// Checking one item: the source is converted as ConvertFile converts it,
// and the text is compared with the destination instead of replacing it.
// Nothing is created, backed up or written.
#include "engine/DestinationMatch.h"
#include "engine/EngineMessages.h"
#include "foundation/FileSystem.h"
#include "foundation/Memory.h"
#include "engine/PreProcesser.h"
#include "foundation/ReplacingFile.h"

CPreProcesser::CheckResult CPreProcesser::CheckFile(const Core::CString& source,
                                                    const Core::CString& destination,
                                                    int directiveMode) {
  BeginItem(directiveMode);
  CheckResult result = CheckResult::kFailed;
  if ((m_strSource = source) && PrepareSourceDirectory(source) && RecordSource(source)) {
    result = CheckItem(source, destination);
  } else {
    AddOutOfMemoryMessage(source);
  }
  m_pending.Clear();
  PublishMessages();
  return result;
}

CPreProcesser::CheckResult CPreProcesser::CheckItem(const Core::CString& source,
                                                    const Core::CString& destination) {
  Core::CFile file;
  if (!OpenSource(source, destination, file)) return CheckResult::kFailed;
  ReadSource(file);
  const int processed = ProcessLines();
  EndSource(file);
  if (!processed) return CheckResult::kFailed;
  return CompareDestination(destination);
}

CPreProcesser::CheckResult CPreProcesser::CompareDestination(const Core::CString& destination) {
  CDestinationMatch match;
  const bool opened = match.Open(destination);
  const Core::PathState state = opened ? Core::PathState::kPresent : Core::QueryPath(destination);
  const bool regular =
      opened || Core::GetReplaceState(destination) != Core::ReplaceState::kNotRegular;
  // A look-up that ran out of memory would call a stale file missing.
  if (OutOfMemory()) {
    AddOutOfMemoryMessage(m_strSource);
    return CheckResult::kFailed;
  }
  if (state == Core::PathState::kMissing) return CheckResult::kMissing;
  if (!regular) return CheckResult::kNotAFile;
  if (!opened) return CheckResult::kUnreadable;
  CDestinationMatch::Match result = match.Compare(m_output.GetText(), m_output.GetLength());
  if (result == CDestinationMatch::Match::kSame) result = match.CompareEnd();
  switch (result) {
    case CDestinationMatch::Match::kSame:
      return CheckResult::kUpToDate;
    case CDestinationMatch::Match::kDiffers:
      return CheckResult::kStale;
    case CDestinationMatch::Match::kReadFailed:
      break;
  }
  return CheckResult::kUnreadable;
}
