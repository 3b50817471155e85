#include "Path.h"

#include <cstring>

#include "Array.h"
#include "Cp932Text.h"
#include "Memory.h"

namespace Core {

namespace {

bool IsSeparatorAt(const char* p) { return Cp932::CharLength(p) == 1 && (*p == '\\' || *p == '/'); }

CString Slice(const char* begin, const char* end) {
  CString part;
  const int length = static_cast<int>(end - begin);
  if (length > 0 && part.AllocBuffer(length)) std::memcpy(part.GetBuffer(), begin, length);
  return part;
}

void EnsureTrailingBackslash(CString& dir) {
  if (!EndsWithBackslash(dir)) dir += "\\";
}

bool StartsWith(const CString& text, const char* prefix) {
  return std::strncmp(text.GetText(), prefix, std::strlen(prefix)) == 0;
}

// Cuts a directory into components, each keeping its trailing backslash;
// a last component without one is kept as it is.
CArray<CString> Components(const CString& dir) {
  CArray<CString> parts;
  const char* begin = dir.GetText();
  for (const char* p = begin; *p; p = Cp932::Next(p)) {
    if (Cp932::CharLength(p) == 1 && *p == '\\') {
      parts.Add(Slice(begin, p + 1));
      begin = p + 1;
    }
  }
  if (*begin) parts.Add(CString(begin));
  return parts;
}

void RemoveLeadingBackslash(CString& dir) {
  if (StartsWith(dir, "\\")) dir.Delete(0, 1);
}

// Cuts the last component of R: everything from its last backslash on,
// or the whole text when there is none.
void CutLastComponent(CString& r) {
  const char* text = r.GetText();
  const char* lastSeparator = nullptr;
  for (const char* p = text; *p; p = Cp932::Next(p)) {
    if (Cp932::CharLength(p) == 1 && *p == '\\') lastSeparator = p;
  }
  r.Delete(lastSeparator ? static_cast<int>(lastSeparator - text) : 0, r.GetLength());
}

// Cuts a directory into component names at either separator, without the
// separators; empty components ("//") are skipped.
CArray<CString> Names(const CString& dir) {
  CArray<CString> names;
  const char* begin = dir.GetText();
  const char* p = begin;
  for (; *p; p = Cp932::Next(p)) {
    if (IsSeparatorAt(p)) {
      if (p > begin) names.Add(Slice(begin, p));
      begin = p + 1;
    }
  }
  if (p > begin) names.Add(Slice(begin, p));
  return names;
}

bool IsSlashRooted(const PathParts& parts) {
  return parts.drive.IsEmpty() && parts.dir.GetText()[0] == '/';
}

// Both paths begin with '/': the result uses "./", "../" and '/'.
CString RelativeToSlashRoot(const PathParts& b, const PathParts& p) {
  const CArray<CString> namesB = Names(b.dir);
  const CArray<CString> namesP = Names(p.dir);
  int common = 0;
  while (common < namesP.GetSize() && common < namesB.GetSize() && namesP[common] == namesB[common]) {
    ++common;
  }
  CString result;
  if (common == namesB.GetSize()) {
    result = "./";
  } else {
    for (int i = common; i < namesB.GetSize(); ++i) result += "../";
  }
  for (int i = common; i < namesP.GetSize(); ++i) {
    result += namesP[i];
    result += "/";
  }
  result += p.name;
  result += p.ext;
  return result;
}

// The base begins with '/' and the path has no root: leading "." and ".."
// components are resolved against the base, the rest is appended with '/'.
CString AbsoluteToSlashRoot(const CString& base, const PathParts& p) {
  const CArray<CString> names = Names(p.dir);
  CArray<CString> rootNames = Names(base);
  int i = 0;
  for (; i < names.GetSize(); ++i) {
    if (names[i] == CString("..")) {
      if (rootNames.GetSize() > 0) rootNames.RemoveLast();
    } else if (!(names[i] == CString("."))) {
      break;
    }
  }
  CString result("/");
  for (int k = 0; k < rootNames.GetSize(); ++k) {
    result += rootNames[k];
    result += "/";
  }
  for (; i < names.GetSize(); ++i) {
    result += names[i];
    result += "/";
  }
  result += p.name;
  result += p.ext;
  return result;
}

}  // namespace

bool EndsWithBackslash(const CString& text) {
  const char* last = nullptr;
  for (const char* p = text.GetText(); *p; p = Cp932::Next(p)) last = p;
  return last && Cp932::CharLength(last) == 1 && *last == '\\';
}

CString JoinByNames(const CString& directory, const CString& path) {
  CArray<CString> names;
  if (!IsSeparatorAt(path.GetText())) names = Names(directory);
  const CArray<CString> pathNames = Names(path);
  for (int k = 0; k < pathNames.GetSize(); ++k) {
    const CString& name = pathNames[k];
    if (name == CString("..")) {
      if (names.GetSize() > 0) names.RemoveLast();
    } else if (!(name == CString("."))) {
      names.Add(name);
    }
  }
  CString result;
  for (int k = 0; k < names.GetSize(); ++k) {
    result += "/";
    result += names[k];
  }
  return result.IsEmpty() ? CString("/") : result;
}

PathParts SplitPath(const CString& path) {
  PathParts parts;
  const char* p = path.GetText();
  if (p[0] != '\0' && p[1] == ':') {
    parts.drive = Slice(p, p + 2);
    p += 2;
  }
  const char* dirEnd = p;   // just past the last separator
  const char* lastDot = nullptr;
  for (const char* q = p; *q; q = Cp932::Next(q)) {
    if (IsSeparatorAt(q)) {
      dirEnd = q + 1;
      lastDot = nullptr;
    } else if (*q == '.') {
      lastDot = q;
    }
  }
  const char* end = p + std::strlen(p);
  parts.dir = Slice(p, dirEnd);
  const char* nameEnd = lastDot ? lastDot : end;
  parts.name = Slice(dirEnd, nameEnd);
  parts.ext = Slice(nameEnd, end);
  return parts;
}

namespace {

CString RelativeToDrive(const CString& path, const CString& base) {
  if (path.IsEmpty() || base.IsEmpty()) return path;
  CString baseDir(base);
  EnsureTrailingBackslash(baseDir);
  const PathParts b = SplitPath(baseDir);
  const PathParts p = SplitPath(path);
  if (b.drive.IsEmpty() || p.drive.IsEmpty() || !(b.drive == p.drive)) return path;

  CString dirB(b.dir);
  CString dirP(p.dir);
  EnsureTrailingBackslash(dirB);
  EnsureTrailingBackslash(dirP);
  if (dirB == dirP) return CString(".\\") + p.name + p.ext;

  RemoveLeadingBackslash(dirB);
  RemoveLeadingBackslash(dirP);
  const CArray<CString> partsB = Components(dirB);
  const CArray<CString> partsP = Components(dirP);
  int common = 0;
  while (common < partsP.GetSize() && common < partsB.GetSize() &&
         partsP[common] == partsB[common]) {
    ++common;
  }
  CString result;
  if (common == partsB.GetSize()) {
    result = ".\\";
  } else {
    for (int i = common; i < partsB.GetSize(); ++i) result += "..\\";
  }
  for (int i = common; i < partsP.GetSize(); ++i) result += partsP[i];
  result += p.name;
  result += p.ext;
  return result;
}

CString AbsoluteToDrive(const CString& path, const CString& base) {
  if (path.IsEmpty() || base.IsEmpty()) return path;
  CString baseDir(base);
  EnsureTrailingBackslash(baseDir);
  const PathParts b = SplitPath(baseDir);
  const PathParts p = SplitPath(path);
  if (b.drive.IsEmpty() || !p.drive.IsEmpty()) return path;

  CString dirP(p.dir.IsEmpty() ? CString(".\\") : p.dir);
  EnsureTrailingBackslash(dirP);
  if (!StartsWith(dirP, ".\\") && !StartsWith(dirP, "..\\")) {
    dirP = (StartsWith(dirP, "\\") ? CString(".") : CString(".\\")) + dirP;
  }

  CString root(base);
  if (EndsWithBackslash(root)) root.Delete(root.GetLength() - 1, 1);
  for (;;) {
    if (StartsWith(dirP, ".\\")) {
      dirP.Delete(0, 2);
    } else if (StartsWith(dirP, "..\\")) {
      dirP.Delete(0, 3);
      CutLastComponent(root);
    } else {
      break;
    }
  }
  root += "\\";
  return root + dirP + p.name + p.ext;
}

}  // namespace

namespace {

// The path, or an empty one when an allocation failed on the way: a path
// with a part missing would name another file.
CString Checked(const CString& result, std::size_t failures) {
  return AllocationFailureCount() == failures ? result : CString();
}

CString RelativeForm(const CString& path, const CString& base, RootRule rule) {
  if (path.IsEmpty() || base.IsEmpty()) return path;
  if (rule == RootRule::kDriveOrSlash) {
    const PathParts b = SplitPath(base);
    if (IsSlashRooted(b)) {
      // SplitPath of the base as a directory: a last name without a separator is a directory.
      const PathParts dirB = SplitPath(base + CString("/"));
      const PathParts p = SplitPath(path);
      return IsSlashRooted(p) ? RelativeToSlashRoot(dirB, p) : path;
    }
  }
  return RelativeToDrive(path, base);
}

CString AbsoluteForm(const CString& path, const CString& base, RootRule rule) {
  if (path.IsEmpty() || base.IsEmpty()) return path;
  if (rule == RootRule::kDriveOrSlash && IsSlashRooted(SplitPath(base))) {
    const PathParts p = SplitPath(path);
    return p.drive.IsEmpty() && !IsSlashRooted(p) ? AbsoluteToSlashRoot(base, p) : path;
  }
  return AbsoluteToDrive(path, base);
}

}  // namespace

CString RelativePath(const CString& path, const CString& base, RootRule rule) {
  const std::size_t failures = AllocationFailureCount();
  return Checked(RelativeForm(path, base, rule), failures);
}

CString AbsolutePath(const CString& path, const CString& base, RootRule rule) {
  const std::size_t failures = AllocationFailureCount();
  return Checked(AbsoluteForm(path, base, rule), failures);
}

}  // namespace Core
