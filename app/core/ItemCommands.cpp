#include "app/core/ItemCommands.h"

#include "foundation/Path.h"

const char kEditNotFoundLog[] =
    "ERROR : 修正に失敗.\r\n        ドキュメントにアイテムがありません.\r\n";
const char kDeleteNotFoundLog[] =
    "ERROR : 削除に失敗.\r\n        ドキュメントにアイテムがありません.\r\n";

ItemMessageBox EditSelectionBox() {
  return {"変更する時は選択項目を1個にして下さい.", "ERROR", false, BoxIcon::kError};
}

ItemMessageBox DeleteQuestionBox(int selected) {
  if (selected <= 0)
    return {"アイテムが選択されていません.\n削除したいアイテムを選択してください.", "確認", false,
            BoxIcon::kInformation};
  if (selected == 1) return {nullptr, nullptr, false, BoxIcon::kInformation};
  return {"選択されているアイテムをすべて削除します.", "確認", true, BoxIcon::kQuestion};
}

int FindMatchingItem(const Core::CArray<CItem>& items, const Core::CString& source,
                     const Core::CString& destination) {
  for (int i = 0; i < items.GetSize(); ++i) {
    if (items[i].m_strSource == source && items[i].m_strDestination == destination) return i;
  }
  return -1;
}

bool ReplaceMatchingItem(CDocument* doc, const Core::CString& source,
                         const Core::CString& destination, const CItem& item) {
  const int index = FindMatchingItem(doc->m_aItems, source, destination);
  if (index < 0) return false;
  doc->SetItem(index, item);
  return true;
}

bool RemoveMatchingItem(CDocument* doc, const Core::CString& source,
                        const Core::CString& destination) {
  const int index = FindMatchingItem(doc->m_aItems, source, destination);
  if (index < 0) return false;
  doc->RemoveItem(index);
  return true;
}

Core::CString ItemFileFolder(const Core::CString& path, const Core::CString& projectDirectory) {
  return Core::SplitPath(path).drive.IsEmpty() ? projectDirectory : Core::DirectoryOf(path);
}
