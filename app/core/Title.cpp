#include "app/core/Title.h"

#include "app/core/CompactPath.h"
#include "foundation/Cp932Text.h"

namespace {
constexpr char kUntitled[] = "Tovi  (無題)";
constexpr char kPrefix[] = "Tovi  ";
constexpr char kMark[] = "(更新)";
constexpr int kMarkLength = sizeof kMark - 1;
}  // namespace

bool NextTitle(const Core::CString& path, int modified, const Core::CString& current,
               Core::CString* title) {
  if (!modified) {
    *title = path.IsEmpty() ? Core::CString(kUntitled) : Core::CString(kPrefix) + CompactPath(path);
    return true;
  }
  const int length = current.GetLength();
  if (length < kMarkLength) return false;
  if (Core::Cp932::FindSubstring(current.GetText() + length - kMarkLength, kMark)) return false;
  *title = current;
  *title += " ";
  *title += kMark;
  return true;
}
