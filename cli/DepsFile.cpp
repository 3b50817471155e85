#include "cli/DepsFile.h"

#include "engine/DestinationMatch.h"
#include "foundation/Memory.h"
#include "foundation/Path.h"

bool AppendMakeName(CTextBuffer& out, const char* path) {
  std::size_t backslashes = 0;
  for (const char* p = path; *p; ++p) {
    const char c = *p;
    if (c == '\n' || c == '\r') return false;
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Byte by byte, as make and ninja read: a trail byte 0x5C of a code
    // page 932 name is a backslash to them too.
    const bool escaped = c == ' ' || c == '#';
    for (std::size_t i = 0; i < (escaped ? 2 * backslashes : backslashes); ++i)
      out.AppendChar('\\');
    backslashes = 0;
    if (escaped) out.AppendChar('\\');
    if (c == '$') out.AppendChar('$');
    out.AppendChar(c);
  }
  for (std::size_t i = 0; i < backslashes; ++i) out.AppendChar('\\');
  return true;
}

bool CDepsFile::Open(const Core::CString& target) {
  m_bFailed = !(m_strTarget = target) || !m_file.Open(target, Core::CReplacingFile::kReplaceLink);
  return !m_bFailed;
}

bool CDepsFile::AppendPath(CTextBuffer& line, const Core::CString& path) {
  const Core::CString system = Core::SystemPath(path);
  return !system.IsEmpty() && AppendMakeName(line, system.GetText());
}

void CDepsFile::ItemConverted(int, const Core::CString& destination, bool completed,
                              const Core::CArray<Core::CString>& inputs,
                              const Core::CArray<Core::FileLook>&) {
  if (!completed || m_bFailed || inputs.GetSize() == 0) return;
  const Core::CAllocationWatch memory;
  CTextBuffer line;
  // A relative destination was taken in the source's folder.
  const Core::CString target = Core::AbsolutePath(destination, Core::DirectoryOf(inputs[0]));
  bool written = AppendPath(line, target);
  line.AppendChar(':');
  for (int i = 0; written && i < inputs.GetSize(); ++i) {
    line.AppendChar(' ');
    written = AppendPath(line, inputs[i]);
  }
  line.AppendChar('\n');
  if (written) m_rules.Append(line.GetText(), line.GetLength());
  m_bFailed = !written || memory.Failed();
}

// True only when the target was read whole and holds exactly the rules: a
// target that cannot be read or told is written again.
bool CDepsFile::TargetHoldsRules() const {
  CDestinationMatch match;
  return match.Open(m_strTarget) &&
         match.Compare(m_rules.GetText(), m_rules.GetLength()) == CDestinationMatch::Match::kSame &&
         match.CompareEnd() == CDestinationMatch::Match::kSame;
}

bool CDepsFile::Commit() {
  if (!m_bFailed && TargetHoldsRules()) {
    m_file.Abort();
    return true;
  }
  if (m_bFailed || !m_file.Write(m_rules.GetText(), m_rules.GetLength())) {
    m_file.Abort();
    return false;
  }
  return m_file.Commit(false);
}
