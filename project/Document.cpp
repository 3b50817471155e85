#include "Document.h"

#include <cstdlib>

#include "Path.h"
#include "ProjectFile.h"
#include "ToviVersion.h"

CDocument::CDocument(const char* path) : m_strPath(path) {}

namespace {
Core::CString DirectoryOf(const Core::CString& path) {
  const Core::PathParts parts = Core::SplitPath(path);
  return parts.drive + parts.dir;
}
}  // namespace

int ProjectFileVersion() {
  Core::CString version(TOVI_VERSION_TEXT);
  const int point = version.Find(".");
  if (point >= 0) version.Delete(point, 1);
  return static_cast<int>(std::atol(version.GetText()));
}

int CDocument::Load(const char* path) {
  m_strMessage.Empty();
  CProjectFileContent content;
  content.pathMode = m_nPathMode;
  content.directiveMode = m_nDirectiveMode;
  if (!ReadProjectFile(path, &content, &m_strMessage)) return 0;
  if (content.hasSettings) {
    m_nPathMode = content.pathMode;
    m_nDirectiveMode = content.directiveMode;
  }
  m_strPath = path;
  m_aItems = content.items;
  m_strDirectory = DirectoryOf(m_strPath);
  m_nModified = 0;
  ConvertItemPaths();
  return 1;
}

bool CDocument::Save(const char* path) {
  m_strMessage.Empty();
  const Core::CString target(path ? Core::CString(path) : m_strPath);
  CProjectFileContent content;
  content.items = m_aItems;
  content.hasSettings = true;
  content.pathMode = m_nPathMode;
  content.directiveMode = m_nDirectiveMode;
  if (!WriteProjectFile(target, content, &m_strMessage)) return false;
  m_strPath = target;
  m_nModified = 0;
  m_strDirectory = DirectoryOf(m_strPath);
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
  m_nModified = 0;
}
