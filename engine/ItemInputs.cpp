// The files an item read: recorded as they are looked for, absolute, so
// that the list means the same after the item has left the source's
// folder (dependency files, watching).
#include "foundation/Cp932Text.h"
#include "foundation/FileSystem.h"
#include "foundation/Path.h"
#include "engine/ListAppend.h"
#include "engine/PreProcesser.h"

namespace {

// A path that names the same file whatever the current directory.
bool IsRooted(const Core::CString& path) {
  const char* p = path.GetText();
  if (p[0] != '\0' && p[1] == ':' && (p[2] == '\\' || p[2] == '/')) return true;
  if (p[0] == '\\' && p[1] == '\\') return true;
  return Core::PlatformRootRule() == Core::RootRule::kDriveOrSlash && (p[0] == '/' || p[0] == '\\');
}

}  // namespace

// Lists the path unless it is listed already; looked up through a hash
// index, so an item with thousands of inclusions does not compare each
// with every path before it.
bool CPreProcesser::AddInput(Core::CString& path) {
  const std::size_t length = static_cast<std::size_t>(path.GetLength());
  const std::uint32_t hash = m_inputIndex.Hash(path.GetText(), length);
  const auto listed = [&](const CNameIndex::Slot& slot) { return m_aInputs[slot.tag - 1] == path; };
  if (m_inputIndex.Find(hash, listed)) return true;
  // Looked at before anything reads it.
  Core::FileLook look;
  if (m_bLookAtInputs) look = Core::LookAtFile(path);
  const int count = m_aInputs.GetSize();
  if (!m_inputIndex.Insert(hash, static_cast<std::uint32_t>(count) + 1)) return false;
  if (ListAppend::Append(m_aInputs, path)) {
    if (!m_bLookAtInputs || ListAppend::Append(m_aInputLooks, look)) return true;
    (void)m_aInputs.SetSize(count);  // shrinks in place
  }
  (void)m_inputIndex.Erase(hash, [count](const CNameIndex::Slot& slot) {
    return slot.tag == static_cast<std::uint32_t>(count) + 1;
  });
  return false;
}

// The source as the current directory takes it, before the item enters
// the source's folder; the path as given when that directory is unknown.
bool CPreProcesser::RecordSource(const Core::CString& source) {
  Core::CString full;
  if (IsRooted(source) || !Core::FullPath(source, &full)) full = source;
  m_strInputDir = Core::DirectoryOf(full);
  return !OutOfMemory() && AddInput(full);
}

// An included name is looked for in the source's folder first. Windows
// takes '/' for a backslash, which the drive paths' rules do not: it is
// made one.
bool CPreProcesser::RecordInput(const Core::CString& name) {
  Core::CString path;
  if (Core::PlatformRootRule() == Core::RootRule::kDriveOnly) {
    Core::CString backslashed(name);
    for (char* p = backslashed.GetBuffer(); p && *p; p += Core::Cp932::CharLength(p)) {
      if (*p == '/') *p = '\\';
    }
    path = Core::AbsolutePath(backslashed, m_strInputDir);
  } else {
    path = Core::AbsolutePath(name, m_strInputDir);
  }
  return !OutOfMemory() && AddInput(path);
}
