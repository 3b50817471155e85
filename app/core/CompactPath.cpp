#include "app/core/CompactPath.h"

#include "foundation/Array.h"
#include "foundation/Cp932Text.h"
#include "foundation/Path.h"

namespace {

constexpr int kCompactFrom = 50;
constexpr char kElision[] = "....\\";

// Cuts after every backslash character; the second byte of a double-byte
// character is never one, so no character is split between segments.
Core::CArray<Core::CString> CutSegments(const Core::CString& dir) {
  Core::CArray<Core::CString> segments;
  Core::CString segment;
  for (const char* p = dir.GetText(); *p; p = Core::Cp932::Next(p)) {
    const std::size_t length = Core::Cp932::CharLength(p);
    for (std::size_t i = 0; i < length; ++i) segment.AppendChar(p[i]);
    if (length == 1 && *p == '\\') {
      segments.Add(segment);
      segment = "";
    }
  }
  if (!segment.IsEmpty()) segments.Add(segment);
  return segments;
}

}  // namespace

Core::CString CompactPath(const Core::CString& text) {
  if (text.GetLength() < kCompactFrom) return text;
  const Core::PathParts parts = Core::SplitPath(text);
  const Core::CArray<Core::CString> segments = CutSegments(parts.dir);
  const int n = segments.GetSize();
  if (n <= 3) return text;
  Core::CString dir;
  if (n == 4) {
    if (segments[2].GetLength() <= 5) return text;
    dir = segments[0] + segments[1] + Core::CString(kElision) + segments[3];
  } else {
    dir = segments[0] + segments[1] + Core::CString(kElision) + segments[n - 2] + segments[n - 1];
  }
  return parts.drive + dir + parts.name + parts.ext;
}
