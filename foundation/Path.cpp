#include "Path.h"

#include <cstring>
#include <vector>

#include "Cp932Text.h"

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
std::vector<CString> Components(const CString& dir) {
  std::vector<CString> parts;
  const char* begin = dir.GetText();
  for (const char* p = begin; *p; p = Cp932::Next(p)) {
    if (Cp932::CharLength(p) == 1 && *p == '\\') {
      parts.push_back(Slice(begin, p + 1));
      begin = p + 1;
    }
  }
  if (*begin) parts.push_back(CString(begin));
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
std::vector<CString> Names(const CString& dir) {
  std::vector<CString> names;
  const char* begin = dir.GetText();
  const char* p = begin;
  for (; *p; p = Cp932::Next(p)) {
    if (IsSeparatorAt(p)) {
      if (p > begin) names.push_back(Slice(begin, p));
      begin = p + 1;
    }
  }
  if (p > begin) names.push_back(Slice(begin, p));
  return names;
}

bool IsSlashRooted(const PathParts& parts) {
  return parts.drive.IsEmpty() && parts.dir.GetText()[0] == '/';
}

// Both paths begin with '/': the result uses "./", "../" and '/'.
CString RelativeToSlashRoot(const PathParts& b, const PathParts& p) {
  const std::vector<CString> namesB = Names(b.dir);
  const std::vector<CString> namesP = Names(p.dir);
  std::size_t common = 0;
  while (common < namesP.size() && common < namesB.size() && namesP[common] == namesB[common]) {
    ++common;
  }
  CString result;
  if (common == namesB.size()) {
    result = "./";
  } else {
    for (std::size_t i = common; i < namesB.size(); ++i) result += "../";
  }
  for (std::size_t i = common; i < namesP.size(); ++i) {
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
  const std::vector<CString> names = Names(p.dir);
  std::vector<CString> rootNames = Names(base);
  std::size_t i = 0;
  for (; i < names.size(); ++i) {
    if (names[i] == CString("..")) {
      if (!rootNames.empty()) rootNames.pop_back();
    } else if (!(names[i] == CString("."))) {
      break;
    }
  }
  CString result("/");
  for (const CString& name : rootNames) {
    result += name;
    result += "/";
  }
  for (; i < names.size(); ++i) {
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
  std::vector<CString> names;
  if (!IsSeparatorAt(path.GetText())) names = Names(directory);
  for (const CString& name : Names(path)) {
    if (name == CString("..")) {
      if (!names.empty()) names.pop_back();
    } else if (!(name == CString("."))) {
      names.push_back(name);
    }
  }
  CString result;
  for (const CString& name : names) {
    result += "/";
    result += name;
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
  const std::vector<CString> partsB = Components(dirB);
  const std::vector<CString> partsP = Components(dirP);
  std::size_t common = 0;
  while (common < partsP.size() && common < partsB.size() &&
         partsP[common] == partsB[common]) {
    ++common;
  }
  CString result;
  if (common == partsB.size()) {
    result = ".\\";
  } else {
    for (std::size_t i = common; i < partsB.size(); ++i) result += "..\\";
  }
  for (std::size_t i = common; i < partsP.size(); ++i) result += partsP[i];
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

CString RelativePath(const CString& path, const CString& base, RootRule rule) {
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

CString AbsolutePath(const CString& path, const CString& base, RootRule rule) {
  if (path.IsEmpty() || base.IsEmpty()) return path;
  if (rule == RootRule::kDriveOrSlash && IsSlashRooted(SplitPath(base))) {
    const PathParts p = SplitPath(path);
    return p.drive.IsEmpty() && !IsSlashRooted(p) ? AbsoluteToSlashRoot(base, p) : path;
  }
  return AbsoluteToDrive(path, base);
}

}  // namespace Core
