// #include "name": the named file's lines are spliced in front of the
// pending lines as a block of their own, and the pass goes on with the
// first of them. The included file is read in UTF-8 when it begins with
// the byte order mark (which is dropped), else in the source encoding set.
#include <cstring>

#include "engine/DirectiveLine.h"
#include "foundation/Cp932Utf8.h"
#include "engine/EngineMessages.h"
#include "foundation/FileSystem.h"
#include "engine/LineReader.h"
#include "foundation/Memory.h"
#include "engine/PreProcesser.h"

bool CPreProcesser::OnInclude(const char* line, std::size_t length, int lineNumber) {
  TextSpan nameSpan;
  bool syntax = false;
  if (!IncludeName(line, m_scratch, &nameSpan, &syntax, *m_pByteClasses)) {
    if (!syntax) return true;  // out of memory: the pass ends
    AddLineMessage(EngineText::kIncludeSyntax, lineNumber, line, "#include");
    return false;
  }
  Core::CString name;
  Core::CString path;
  if (!IncludePathName(nameSpan, &name)) {
    if (OutOfMemory()) return true;
    AddLineMessage(EngineText::kIncludeNotFound, lineNumber, line, "#include");
    return false;
  }
  if (!RecordInput(name)) return true;  // out of memory: the pass ends
  Core::CFile file;
  bool opened = OpenIncludeFile(name, file, &path);
  // The destination an update compares with is held open: when it is the
  // file named, let go of it (writing from here on) and try again.
  if (!opened && m_pMatch && !path.IsEmpty() && !OutOfMemory() && m_pMatch->Holds(path)) {
    Diverge(CDestinationMatch::Match::kDiffers);
    opened = OpenIncludeFile(name, file, &path);
  }
  if (!opened) {
    if (OutOfMemory()) return true;
    if (path.IsEmpty()) {
      AddLineMessage(EngineText::kIncludeNotFound, lineNumber, line, "#include");
      return false;
    }
    // The source is held open while it is read, which refuses a second
    // opening: naming it is the cycle it would be.
    bool source = false;
    (void)IsSourceFile(path, &source);  // one that cannot tell is no cycle seen
    if (OutOfMemory()) return true;
    AddLineMessage(source ? EngineText::kIncludeCycle : EngineText::kIncludeOpenFailed, lineNumber,
                   line, path.GetText());
    return false;
  }
  return SpliceFile(file, line, length, lineNumber);
}

// The name as a path, which is code page 932 text: a name from a UTF-8
// file is converted, and one the code page cannot hold names no file.
bool CPreProcesser::IncludePathName(const TextSpan& span, Core::CString* name) {
  Core::CString written;
  if (!written.AllocBuffer(static_cast<int>(span.length))) return false;
  std::memcpy(written.GetBuffer(), span.text, span.length);
  if (!m_pByteClasses->IsUtf8()) {
    name->Swap(written);
    return true;
  }
  return Core::Utf8ToCp932(written.GetText(), name) == Core::ConvertResult::kDone;
}

// Opens the name as written (relative to the current directory, which is
// the source's), else after the source's directory. *path is the path
// that exists (or may: a look that failed names it too), or empty when
// neither does. A file that opens is not asked about first: each
// inclusion costs as few calls to the system as it can.
bool CPreProcesser::OpenIncludeFile(const Core::CString& name, Core::CFile& file,
                                    Core::CString* path) {
  if (file.Open(name, false, false) || Core::QueryPath(name) != Core::PathState::kMissing) {
    *path = name;
    return file.IsOpen() && !OutOfMemory();
  }
  *path = m_strSourceDir + name;
  if (OutOfMemory()) return false;
  if (file.Open(*path, false, false)) return true;
  if (Core::QueryPath(*path) == Core::PathState::kMissing) path->Empty();
  return false;
}

bool CPreProcesser::SpliceFile(Core::CFile& file, const char* line, std::size_t length,
                               int lineNumber) {
  // A file still being included would splice itself in without end.
  Core::FileId id;
  const bool hasId = file.GetId(&id);
  if (hasId && m_pending.IsOpen(id)) {
    AddLineMessage(EngineText::kIncludeCycle, lineNumber, line, file.GetPath().GetText());
    return false;
  }
  CLineBlock* lines = m_pending.Splice(hasId ? &id : nullptr);
  if (!lines) {
    AddLineMessage(EngineText::kIncludeTooDeep, lineNumber, line);
    return false;
  }
  // Files that include each other several times multiply their lines
  // without a cycle; the total of what comes in bounds that. A file
  // refused here, like one whose read fails, leaves its splice open and
  // empty: the item stops, and taking the lines left passes over it.
  const std::uint64_t size = file.GetSize();
  m_nIncludedBytes += kInclusionCost + size;
  if (m_nIncludedBytes > m_nMaxIncludedBytes) {
    AddLineMessage(EngineText::kIncludeTooMuch, lineNumber, line);
    return false;
  }
  // With a disposition that keeps directive lines, the directive becomes
  // the start marker and the end marker follows the included lines; it is
  // pending like them, so it is scanned, or dropped in a skipped branch.
  if (m_nDirectiveMode != 0) EmitCommented(line, length, " : Start");
  const ReadResult read = ReadFileLines(file, size, NulRule::kEndsText, *lines);
  if (read == ReadResult::kReadFailed) {
    lines->Clear();  // a part of the file is no text of it
    m_bReadFailed = true;
    AddLineMessage(EngineText::kIncludeReadFailed, lineNumber, line, file.GetPath().GetText());
    return false;
  }
  (void)SetEncoding(*lines);
  // Out of memory, the pass ends before it takes the lines.
  if (read == ReadResult::kDone && m_nDirectiveMode != 0) {
    (void)lines->AppendLine("//", line, " : End");
  }
  file.Close();
  // A file that grew since its size was asked counts as it came in.
  if (lines->GetLength() > size) m_nIncludedBytes += lines->GetLength() - size;
  return true;
}
