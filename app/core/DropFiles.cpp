#include "app/core/DropFiles.h"

namespace {
constexpr char kExtension[] = ".tvx";
constexpr int kExtensionLength = sizeof kExtension - 1;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool IsProjectFileName(const Core::CString& path) {
  // '.' is never part of a double-byte character, and neither 't' nor 'v'
  // is a lead byte, so the last four bytes are whole characters.
  const int length = path.GetLength();
  if (length < kExtensionLength) return false;
  const char* tail = path.GetText() + length - kExtensionLength;
  for (int i = 0; i < kExtensionLength; ++i) {
    if (AsciiLower(tail[i]) != kExtension[i]) return false;
  }
  return true;
}

DropPlan PlanDrop(const Core::CArray<Core::CString>& files, bool onList) {
  DropPlan plan;
  for (int i = 0; i < files.GetSize(); ++i) {
    if (IsProjectFileName(files[i])) {
      plan.project = i;
      return plan;
    }
  }
  if (!onList) return plan;
  for (int i = 0; i < files.GetSize(); ++i) {
    if (!plan.items.Add(i)) break;
  }
  return plan;
}
