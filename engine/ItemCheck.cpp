// Checking one item: the source is converted as ConvertFile converts it,
// and the text is compared with the destination instead of replacing it.
// Nothing is created, backed up or written.
#include <cstring>

#include "engine/EngineMessages.h"
#include "foundation/FileSystem.h"
#include "foundation/Memory.h"
#include "engine/PreProcesser.h"
#include "foundation/ReplacingFile.h"

namespace {

// The destination is read in pieces of this size: the comparison needs no
// memory of its own.
constexpr int kCompareChunk = 16 * 1024;

}  // namespace

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
  Core::CFile file;
  const bool opened = file.Open(destination, false, false);
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
  const char* expected = m_output.GetText();
  std::size_t left = m_output.GetLength();
  char chunk[kCompareChunk];
  for (;;) {
    const int read = file.Read(chunk, kCompareChunk);
    if (read < 0) return CheckResult::kUnreadable;
    if (read == 0) break;
    const std::size_t count = static_cast<std::size_t>(read);
    if (count > left || std::memcmp(chunk, expected, count) != 0) return CheckResult::kStale;
    expected += count;
    left -= count;
  }
  return left == 0 ? CheckResult::kUpToDate : CheckResult::kStale;
}
