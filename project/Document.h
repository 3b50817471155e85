// CDocument: one project — its items, its settings, the form its item
// paths are held in, and its .tvx file.
#pragma once

#include "foundation/SourceEncoding.h"
#include "foundation/Array.h"
#include "project/Item.h"
#include "foundation/String.h"

class CDocument {
 public:
  // path: the project file's path, or null for an untitled project.
  explicit CDocument(const char* path = nullptr);
  virtual ~CDocument() = default;

  // Reads a .tvx file. 1 on success; 0 on failure with the reason in
  // m_strMessage and nothing else changed (but see the settings block).
  int Load(const char* path);
  // Writes the project to path (null: to its own path). On failure the
  // previous file stays as it was and m_strMessage says why.
  bool Save(const char* path = nullptr);
  // Brings every item path into the form the path mode names.
  void ConvertItemPaths();

  // Item list operations; each marks the project modified.
  bool AddItem(const CItem& item);
  void SetItem(int index, const CItem& item);
  void RemoveItem(int index);
  // Empties the project for the New command (untitled, not modified,
  // sources read as code page 932).
  void Reset(int pathMode, int directiveMode);

  int GetItemCount() const { return m_aItems.GetSize(); }
  const CItem& GetItem(int index) const { return m_aItems.ElementAt(index); }

  Core::CString m_strPath;       // empty for an untitled project
  Core::CString m_strDirectory;  // drive and directory of the path, with its separator
  int m_nModified = 0;
  Core::CArray<CItem> m_aItems;
  Core::CString m_strMessage;  // why the last Load or Save failed
  int m_nPathMode = 0;         // 0: item paths absolute; 1: relative to the directory
  int m_nDirectiveMode = 1;    // directive disposition: 0, 1 or 2
  // How sources without a byte order mark are read: kSourceCp932 or kSourceUtf8.
  int m_nSourceCodePage = kSourceCp932;
};
