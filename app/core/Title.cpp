#include "app/core/Title.h"

#include <cstring>

#include "app/core/CompactPath.h"
#include "foundation/Cp932Text.h"

namespace {
constexpr char kUntitled[] = "Tovi  (無題)";
constexpr char kPrefix[] = "Tovi  ";
constexpr char kMark[] = "(更新)";
constexpr int kMarkLength = sizeof kMark - 1;
constexpr char kAutoMark[] = " [自動変換]";
constexpr int kAutoMarkLength = sizeof kAutoMark - 1;

// The title for the project alone; false when `current` is to stay.
bool ProjectTitle(const Core::CString& path, int modified, const Core::CString& current,
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

}  // namespace

bool NextTitle(const Core::CString& path, int modified, bool autoConvert,
               const Core::CString& current, Core::CString* title) {
  // The mark starts with a blank, which no double-byte character ends in,
  // so comparing the last bytes finds it.
  Core::CString base = current;
  const int length = base.GetLength();
  if (length >= kAutoMarkLength &&
      std::memcmp(base.GetText() + length - kAutoMarkLength, kAutoMark, kAutoMarkLength) == 0) {
    base.Delete(length - kAutoMarkLength, kAutoMarkLength);
  }
  Core::CString next;
  if (!ProjectTitle(path, modified, base, &next)) next = base;
  if (autoConvert) next += kAutoMark;
  if (next == current) return false;
  *title = next;
  return true;
}
