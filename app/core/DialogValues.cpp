#include "app/core/DialogValues.h"

#include <cstdint>

#include "foundation/SourceEncoding.h"
#include "foundation/Path.h"

namespace {
Core::CString Absolute(const Core::CString& path, const Core::CString& directory) {
  if (path.IsEmpty() || directory.IsEmpty()) return path;
  return Core::AbsolutePath(path, directory);
}
}  // namespace

const char kItemWarningCaption[] = "警告";
const char kHistoryRangeMessage[] = "履歴の個数は 0 ～ 9 にしてください.";
const char kHistoryRangeCaption[] = "ERROR!!";

CItem ItemForDialog(const Core::CString& directory, const Core::CString& source,
                    const Core::CString& destination) {
  return CItem(Absolute(source, directory), Absolute(destination, directory));
}

ItemDialogForm ItemDialogFormFor(const CItem& shown, int pathMode) {
  ItemDialogForm form{};
  form.edit = !shown.m_strSource.IsEmpty() && !shown.m_strDestination.IsEmpty();
  form.title = form.edit ? "アイテムの変更" : "アイテムの追加";
  form.okText = form.edit ? "変更" : "追加";
  form.hint = pathMode == 0 ? "一覧画面でも絶対パスで表示されます。" : nullptr;
  return form;
}

const char* AcceptItem(const Core::CString& directory, int pathMode, const Core::CString& source,
                       const Core::CString& destination, CItem* item) {
  if (source.IsEmpty()) return "変換元ファイル名が空欄です。\n入力してください";
  if (destination.IsEmpty()) return "変換後ファイル名が空欄です。\n入力してください";
  if (pathMode != 0 && !directory.IsEmpty()) {
    item->m_strSource = Core::RelativePath(source, directory);
    item->m_strDestination = Core::RelativePath(destination, directory);
  } else {
    item->m_strSource = Absolute(source, directory);
    item->m_strDestination = Absolute(destination, directory);
  }
  return nullptr;
}

int ReadHistoryField(const char* text) {
  const char* p = text;
  while (*p == ' ') ++p;
  if (*p == '\0') return 0;
  std::uint32_t value = 0;
  for (; *p; ++p) {
    if (*p < '0' || *p > '9') return 0;
    const std::uint32_t digit = static_cast<std::uint32_t>(*p - '0');
    if (value > (UINT32_MAX - digit) / 10) return 0;
    value = value * 10 + digit;
  }
  // The unsigned value lands in a signed count, as the platform's reader does.
  return static_cast<int>(value);
}

bool HistoryCountAccepted(int count) { return count >= 0 && count <= kMaxHistoryField; }

ProjectRadios RadiosForSettings(int pathMode, int disposition, int codePage) {
  ProjectRadios radios{};
  radios.relative = pathMode != 0;
  radios.absolute = pathMode == 0;
  radios.removeDirective = disposition == 0;
  radios.commentBefore = disposition == 1;
  radios.commentAfter = disposition == 2;
  radios.sourceUtf8 = codePage == kSourceUtf8;
  radios.sourceCp932 = !radios.sourceUtf8;
  return radios;
}

void SettingsFromRadios(const ProjectRadios& radios, int* pathMode, int* disposition,
                        int* codePage) {
  *pathMode = radios.relative ? 1 : 0;
  *disposition = radios.removeDirective ? 0 : radios.commentBefore ? 1 : 2;
  *codePage = radios.sourceUtf8 ? kSourceUtf8 : kSourceCp932;
}
