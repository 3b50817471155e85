#include "project/Document.h"

#include "foundation/Memory.h"
#include "foundation/Path.h"
#include "project/ProjectFile.h"
#include "project/ProjectMessages.h"

CDocument::CDocument(const char* path) : m_strPath(path) {}

int CDocument::Load(const char* path) {
  m_strMessage.Empty();
  const Core::CAllocationWatch memory;
  CProjectFileContent content;
  content.pathMode = m_nPathMode;  // kept where the file's settings are cut short
  content.directiveMode = m_nDirectiveMode;
  content.sourceCodePage = m_nSourceCodePage;
  const bool read = ReadProjectFile(path, &content, &m_strMessage);
  // The new state is built aside and taken over only when every string of
  // it could be made: a half-loaded project must not replace the old one.
  CDocument loaded;
  if (read) {
    loaded.m_nPathMode = content.pathMode;
    loaded.m_nDirectiveMode = content.directiveMode;
    loaded.m_nSourceCodePage = content.sourceCodePage;
    loaded.m_strPath = path;
    loaded.m_aItems.Swap(content.items);
    loaded.m_strDirectory = Core::DirectoryOf(loaded.m_strPath);
    loaded.ConvertItemPaths();
  }
  if (memory.Failed()) {
    m_strMessage = kOutOfMemoryMessage;
    return 0;
  }
  if (!read) return 0;
  m_nPathMode = loaded.m_nPathMode;
  m_nDirectiveMode = loaded.m_nDirectiveMode;
  m_nSourceCodePage = loaded.m_nSourceCodePage;
  m_strPath.Swap(loaded.m_strPath);
  m_aItems.Swap(loaded.m_aItems);
  m_strDirectory.Swap(loaded.m_strDirectory);
  m_nModified = 0;
  return 1;
}

bool CDocument::Save(const char* path) {
  m_strMessage.Empty();
  const Core::CAllocationWatch memory;
  Core::CString target(path ? Core::CString(path) : m_strPath);
  CProjectFileContent content;
  content.items = m_aItems;
  content.hasSettings = true;
  content.pathMode = m_nPathMode;
  content.directiveMode = m_nDirectiveMode;
  content.sourceCodePage = m_nSourceCodePage;
  Core::CString directory = Core::DirectoryOf(target);
  // A copy cut short by a failed allocation must not replace the file.
  const bool written = !memory.Failed() && WriteProjectFile(target, content, &m_strMessage);
  if (memory.Failed()) {
    m_strMessage = kOutOfMemoryMessage;
    return false;
  }
  if (!written) return false;
  m_strPath.Swap(target);
  m_strDirectory.Swap(directory);
  m_nModified = 0;
  return true;
}

void CDocument::ConvertItemPaths() {
  for (int i = 0; i < m_aItems.GetSize(); ++i) {
    CItem& item = m_aItems.ElementAt(i);
    if (m_nPathMode != 0) {
      item.m_strSource = Core::RelativePath(item.m_strSource, m_strDirectory);
      item.m_strDestination = Core::RelativePath(item.m_strDestination, m_strDirectory);
    } else {
      item.m_strSource = Core::AbsolutePath(item.m_strSource, m_strDirectory);
      item.m_strDestination = Core::AbsolutePath(item.m_strDestination, m_strDirectory);
    }
  }
}

bool CDocument::AddItem(const CItem& item) {
  if (!m_aItems.Add(item)) return false;
  m_nModified = 1;
  return true;
}

void CDocument::SetItem(int index, const CItem& item) {
  m_aItems.ElementAt(index) = item;
  m_nModified = 1;
}

void CDocument::RemoveItem(int index) {
  m_aItems.RemoveAt(index, 1);
  m_nModified = 1;
}

void CDocument::Reset(int pathMode, int directiveMode) {
  m_strPath.Empty();
  m_strDirectory.Empty();
  m_aItems.ClearElements();
  m_aItems.SetSize(0);
  m_nPathMode = pathMode;
  m_nDirectiveMode = directiveMode;
  m_nSourceCodePage = kSourceCp932;
  m_nModified = 0;
}
