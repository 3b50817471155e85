// #include "name": the named file's lines are spliced in front of the
// pending lines, and the pass goes on with the first of them.
#include "DirectiveLine.h"
#include "EngineMessages.h"
#include "FileSystem.h"
#include "LineReader.h"
#include "PreProcesser.h"

namespace {

// The text between the first two double quotes after the keyword.
bool IncludeName(const Core::CString& line, Core::CString* name) {
  Core::CString text(line);
  text.Delete(0, 8);  // the keyword's length, whatever stands before it
  text.TrimLeft();
  text.TrimRight();
  const int open = text.Find("\"");
  if (open < 0) return false;
  text.Delete(0, open + 1);
  const int close = text.Find("\"");
  if (close <= 0) return false;
  text.Delete(close, text.GetLength());
  *name = text;
  return true;
}

}  // namespace

bool CPreProcesser::OnInclude(const Core::CString& line, int lineNumber) {
  Core::CString name;
  if (!IncludeName(line, &name)) {
    AddLineMessage(EngineText::kIncludeSyntax, lineNumber, line, "#include");
    return false;
  }
  Core::CString path;
  if (!FindIncludeFile(name, &path)) {
    AddLineMessage(EngineText::kIncludeNotFound, lineNumber, line, "#include");
    return false;
  }
  Core::CFile file;
  if (!file.Open(path, false, false)) {
    AddLineMessage(EngineText::kIncludeOpenFailed, lineNumber, line, path.GetText());
    return false;
  }
  return SpliceFile(file, line, lineNumber);
}

// The name as written (relative to the current directory, which is the
// source's), else after the source's directory.
bool CPreProcesser::FindIncludeFile(const Core::CString& name, Core::CString* path) const {
  if (Core::PathExists(name)) {
    *path = name;
    return true;
  }
  *path = m_strSourceDir + name;
  return Core::PathExists(*path);
}

bool CPreProcesser::SpliceFile(Core::CFile& file, const Core::CString& line, int lineNumber) {
  // A file still being included would splice itself in without end.
  Core::FileId id;
  const bool hasId = file.GetId(&id);
  if (hasId && m_pending.IsOpen(id)) {
    AddLineMessage(EngineText::kIncludeCycle, lineNumber, line, file.GetPath().GetText());
    return false;
  }
  if (m_pending.GetDepth() >= kMaxIncludeDepth) {
    AddLineMessage(EngineText::kIncludeTooDeep, lineNumber, line);
    return false;
  }
  // With a disposition that keeps directive lines, the directive becomes
  // the start marker and the end marker follows the included lines; it is
  // pending like them, so it is scanned, or dropped in a skipped branch.
  Core::CString endMarker;
  if (m_nDirectiveMode != 0) {
    endMarker = Core::CString("//") + line + " : End";
    if (endMarker.IsEmpty()) m_bOutOfMemory = true;
  }
  Core::CArray<Core::CString>* lines =
      m_pending.Splice(hasId ? &id : nullptr, m_nDirectiveMode != 0 ? &endMarker : nullptr);
  if (!lines) {
    m_bOutOfMemory = true;
    return true;
  }
  if (m_nDirectiveMode != 0) EmitCommented(line, " : Start");
  if (!ReadFileLines(file, NulRule::kEndsText, *lines)) m_bOutOfMemory = true;
  file.Close();
  return true;
}
