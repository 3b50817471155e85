// Converting one item: the order of the steps matters, because the old
// destination is backed up and removed before the source is converted.
#include "engine/PreProcesser.h"

#include <cstring>

#include "engine/EngineMessages.h"
#include "foundation/Cp932Utf8.h"
#include "foundation/FileSystem.h"
#include "engine/LineReader.h"
#include "foundation/Memory.h"
#include "foundation/Path.h"

namespace {

// Room the messages keep beyond their text: the out-of-memory message and
// one item-level message always fit without an allocation.
constexpr std::size_t kMessageRoom = 2 * (EngineText::kMessageLimit + 1);

}  // namespace

CPreProcesser::CPreProcesser() { ReserveMessages(); }

int CPreProcesser::ConvertFile(const Core::CString& source, const Core::CString& destination,
                               int directiveMode) {
  return RunItem(source, destination, directiveMode, false) == UpdateResult::kWritten;
}

CPreProcesser::UpdateResult CPreProcesser::UpdateFile(const Core::CString& source,
                                                      const Core::CString& destination,
                                                      int directiveMode) {
  return RunItem(source, destination, directiveMode, true);
}

CPreProcesser::UpdateResult CPreProcesser::RunItem(const Core::CString& source,
                                                   const Core::CString& destination,
                                                   int directiveMode, bool onlyChanged) {
  BeginItem(directiveMode);
  UpdateResult result = UpdateResult::kFailed;
  m_strSource = source;
  if (PrepareSourceDirectory(source) && RecordSource(source)) {
    if (onlyChanged) {
      result = UpdateItem(source, destination);
    } else if (ConvertItem(source, destination)) {
      result = UpdateResult::kWritten;
    }
  } else {
    AddOutOfMemoryMessage(source);
  }
  m_pending.Clear();
  PublishMessages();
  return result;
}

int CPreProcesser::ConvertText(const char* bytes, std::size_t size, int directiveMode) {
  BeginItem(directiveMode);
  m_strSource.Empty();
  m_strSourceDir.Empty();
  // Without memory for the lines there are none, and the pass ends at once.
  if (!SplitLines(bytes, size, NulRule::kDrop, m_aLines)) m_aLines.Clear();
  StartSource(nullptr);
  const int result = ProcessLines();
  m_pending.Clear();
  PublishMessages();
  return result;
}

void CPreProcesser::BeginItem(int directiveMode) {
  m_memory.Restart();
  m_messages.Clear();
  m_strMessages.Empty();
  m_nDirectiveMode = directiveMode;
  m_aLines.Clear();
  m_output.Clear();
  m_nOutputLines = 0;
  m_nIncludedBytes = 0;
  m_bSourceHasId = false;
  m_bReadFailed = false;
  m_bOutputInPieces = false;
  m_nDivergeFailure = kDivergeNone;
  (void)m_aInputs.SetSize(0);  // keeps its block: no allocation
  (void)m_aInputLooks.SetSize(0);
  m_inputIndex.Clear();
  m_strInputDir.Empty();
}

int CPreProcesser::ConvertItem(const Core::CString& source, const Core::CString& destination) {
  Core::CFile file;
  if (!OpenSource(source, destination, file) || !CheckReplaceable(source, destination)) return 0;
  return ConvertOpened(file, destination);
}

// A read-only destination, or one that is no regular file, is refused
// before anything changes.
bool CPreProcesser::CheckReplaceable(const Core::CString& source,
                                     const Core::CString& destination) {
  const bool replaceable = IsReplaceable(destination);
  if (OutOfMemory()) {
    AddOutOfMemoryMessage(source);
    return false;
  }
  if (!replaceable) {
    AddItemMessage(EngineText::kCreateFailed, destination);
    return false;
  }
  return true;
}

// The rest of ConvertItem, with the source open and the destination
// found replaceable.
int CPreProcesser::ConvertOpened(Core::CFile& file, const Core::CString& destination) {
  const bool backedUp = BackUpDestination(destination);
  if (OutOfMemory()) {
    AddOutOfMemoryMessage(m_strSource);
    return 0;
  }
  if (!backedUp) {
    AddItemMessage(EngineText::kBackupFailed, destination);
    return 0;
  }
  ReadSource(file);
  Core::CReplacingFile output;
  OpenDestination(destination, output);
  const int processed = ProcessLines();
  m_pOutputFile = nullptr;
  m_bOutputInPieces = false;
  EndSource(file);
  if (!processed) {
    output.Abort();
    // A file that could not be read says nothing about the destination.
    if (!m_bReadFailed) DropDestination(destination);
    return 0;
  }
  return WriteDestination(destination, output);
}

// Opens the source and enters its directory. The file steps decide what
// happens to the user's files: one that could not make all its strings has
// decided nothing, and the item stops.
bool CPreProcesser::OpenSource(const Core::CString& source, const Core::CString& destination,
                               Core::CFile& file) {
  if (!file.Open(source, false, false)) {
    if (OutOfMemory()) {
      AddOutOfMemoryMessage(source);
    } else {
      AddItemMessage(EngineText::kSourceOpenFailed, source);
    }
    return false;
  }
  m_bSourceHasId = file.GetId(&m_sourceId);
  EnterSourceDirectory();
  bool sameFile = false;
  const bool told = IsSourceFile(destination, &sameFile);
  if (OutOfMemory()) {
    AddOutOfMemoryMessage(source);
    return false;
  }
  // A destination that cannot be looked at may be the source itself.
  if (!told) {
    AddItemMessage(EngineText::kCreateFailed, destination);
    return false;
  }
  // With the source open exclusively, a destination naming the same file
  // would be rewritten from under it.
  if (sameFile) {
    AddItemMessage(EngineText::kSameFile, destination);
    return false;
  }
  return true;
}

// Starts reading the opened source into its lines, in its encoding. The
// rest is read as the pass takes the lines, so a large source never
// stands whole in memory; the file stays open (and so kept from other
// writers) until EndSource.
void CPreProcesser::ReadSource(Core::CFile& file) {
  m_aLines.StartReading(file);
  StartSource(m_bSourceHasId ? &m_sourceId : nullptr);
}

void CPreProcesser::EndSource(Core::CFile& file) {
  m_aLines.StopReading();
  file.Close();
}

// The source's directory, worked out before anything is touched: were it
// lost to a failed allocation, a relative destination would be taken in
// the wrong directory.
bool CPreProcesser::PrepareSourceDirectory(const Core::CString& source) {
  m_strSourceDir = Core::DirectoryOf(source);
  return !OutOfMemory();
}

void CPreProcesser::EnterSourceDirectory() {
  // An empty directory (a bare file name) fails and leaves the current one
  // in place, as meant; any other holds the source that was just opened.
  (void)Core::SetCurrentDir(m_strSourceDir);
}

// The source's lines, read in the encoding its mark or the setting gives.
void CPreProcesser::StartSource(const Core::FileId* id) {
  m_bSourceMarked = SetEncoding(m_aLines);
  m_pending.Reset(&m_aLines, id);
}

// Takes a byte order mark off the lines and sets the encoding they are
// read in; true when there was a mark.
bool CPreProcesser::SetEncoding(CLineBlock& lines) const {
  const bool marked = lines.DropByteOrderMark();
  lines.SetUtf8(marked || m_nSourceCodePage == kSourceUtf8);
  return marked;
}

void CPreProcesser::AddLineMessage(const char* pattern, int lineNumber, const char* line,
                                   const char* text1, const char* text2) {
  EngineText::AppendFormatted(m_messages, pattern, lineNumber,
                              {LogText(line, m_logLine), text1, text2});
}

// The log speaks code page 932: text from a UTF-8 file is converted into
// `converted`, and a character the code page lacks shows as '?'.
const char* CPreProcesser::LogText(const char* text, CTextBuffer& converted) {
  if (!m_pByteClasses->IsUtf8()) return text;
  const std::size_t length = std::strlen(text);
  converted.Clear();
  char* space = converted.AppendSpace(length + 1);
  if (!space) return "";  // out of memory: the item ends
  converted.Commit(Core::Utf8ToCp932Lossy(text, length, space));
  return converted.GetText();
}

void CPreProcesser::AddItemMessage(const char* pattern, const Core::CString& path) {
  EngineText::AppendFormatted(m_messages, pattern, 0, {path.GetText()});
}

// Without room for it after the other messages, the message stands alone
// in the room kept for it.
void CPreProcesser::AddOutOfMemoryMessage(const Core::CString& path) {
  const Core::CAllocationWatch memory;
  AddItemMessage(EngineText::kOutOfMemory, path);
  if (!memory.Failed()) return;
  m_messages.Clear();
  AddItemMessage(EngineText::kOutOfMemory, path);
}

// Makes room for the messages so far plus kMessageRoom, in the collected
// text and in the published one, so that publishing cannot fail.
bool CPreProcesser::ReserveMessages() {
  const std::size_t room = m_messages.GetLength() + kMessageRoom;
  if (!m_messages.Reserve(room)) return false;
  if (m_strMessages.GetCapacity() > room) return true;
  Core::CString published;
  if (!published.AllocBuffer(static_cast<int>(room))) return false;
  if (!m_messages.CopyTo(published)) return false;
  m_strMessages.Swap(published);
  return true;
}

void CPreProcesser::PublishMessages() {
  if (m_messages.GetLength() >= m_strMessages.GetCapacity()) {
    Core::CString published;
    if (m_messages.CopyTo(published)) {
      m_strMessages.Swap(published);
      m_messages.Clear();
      return;
    }
    // Only a stopped item gets here: its cause gives way to the lack of memory.
    m_messages.Clear();
    AddOutOfMemoryMessage(m_strSource);
  }
  if (!m_messages.CopyTo(m_strMessages)) m_strMessages.Empty();
  m_messages.Clear();
}
