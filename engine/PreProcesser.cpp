// Converting one item: the order of the steps matters, because the old
// destination is backed up and removed before the source is converted.
#include "PreProcesser.h"

#include "EngineMessages.h"
#include "FileSystem.h"
#include "LineReader.h"
#include "Path.h"

int CPreProcesser::ConvertFile(const Core::CString& source, const Core::CString& destination,
                               int directiveMode) {
  BeginItem(directiveMode);
  m_strSource = source;
  const int result = ConvertItem(source, destination);
  m_pending.Clear();
  PublishMessages();
  return result;
}

int CPreProcesser::ConvertText(const char* bytes, std::size_t size, int directiveMode) {
  BeginItem(directiveMode);
  m_strSource.Empty();
  m_strSourceDir.Empty();
  m_bOutOfMemory = !SplitLines(bytes, size, NulRule::kDrop, m_aLines);
  m_pending.Reset(&m_aLines, nullptr);
  const int result = ProcessLines();
  m_pending.Clear();
  PublishMessages();
  return result;
}

void CPreProcesser::BeginItem(int directiveMode) {
  m_messages.Clear();
  m_messages.ResetFailure();
  m_strMessages.Empty();
  m_nDirectiveMode = directiveMode;
  m_aLines.SetSize(0);
  m_bSourceHasId = false;
  m_bOutOfMemory = false;
  m_scanOut.ResetFailure();
  m_word.ResetFailure();
}

int CPreProcesser::ConvertItem(const Core::CString& source, const Core::CString& destination) {
  Core::CFile file;
  if (!file.Open(source, false, false)) {
    AddItemMessage(EngineText::kSourceOpenFailed, source);
    return 0;
  }
  m_bSourceHasId = file.GetId(&m_sourceId);
  EnterSourceDirectory(source);
  // With the source open exclusively, a destination naming the same file
  // would be rewritten from under it.
  if (IsSourceFile(destination)) {
    AddItemMessage(EngineText::kSameFile, destination);
    return 0;
  }
  // A read-only destination, or one that is no regular file, is refused
  // before anything changes.
  if (!IsReplaceable(destination)) {
    AddItemMessage(EngineText::kCreateFailed, destination);
    return 0;
  }
  if (!BackUpDestination(destination)) {
    AddItemMessage(EngineText::kBackupFailed, destination);
    return 0;
  }
  m_bOutOfMemory = !ReadFileLines(file, NulRule::kDrop, m_aLines);
  file.Close();
  m_pending.Reset(&m_aLines, m_bSourceHasId ? &m_sourceId : nullptr);
  if (!ProcessLines()) {
    DropDestination(destination);
    return 0;
  }
  return WriteDestination(destination);
}

void CPreProcesser::EnterSourceDirectory(const Core::CString& source) {
  const Core::PathParts parts = Core::SplitPath(source);
  m_strSourceDir = parts.drive + parts.dir;
  // An empty directory (a bare file name) leaves the current one in place.
  Core::SetCurrentDir(m_strSourceDir);
}

void CPreProcesser::AddLineMessage(const char* pattern, int lineNumber, const Core::CString& line,
                                   const char* text1, const char* text2) {
  EngineText::AppendFormatted(m_messages, pattern, lineNumber, {line.GetText(), text1, text2});
}

void CPreProcesser::AddItemMessage(const char* pattern, const Core::CString& path) {
  EngineText::AppendFormatted(m_messages, pattern, 0, {path.GetText()});
}

void CPreProcesser::PublishMessages() {
  if (!m_messages.CopyTo(m_strMessages)) m_strMessages.Empty();
  m_messages.Clear();
}
