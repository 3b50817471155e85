#include "foundation/Path.h"

#include <cstring>

#include "foundation/Array.h"
#include "foundation/Cp932Text.h"
#include "foundation/Memory.h"

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

void RemoveLeadingBackslash(CString& dir) {
  if (StartsWith(dir, "\\")) dir.Delete(0, 1);
}

// Cuts a directory into its names, without the separators. '/'-rooted
// paths separate at either separator and skip empty names. Drive paths
// separate at '\\' only and keep empty names, so that each name followed
// by '\\' gives the text back; a last name without one counts too.
CArray<CString> Names(const CString& dir, bool eitherSeparator) {
  CArray<CString> names;
  const char* begin = dir.GetText();
  const char* p = begin;
  for (; *p; p = Cp932::Next(p)) {
    const bool separator =
        eitherSeparator ? IsSeparatorAt(p) : Cp932::CharLength(p) == 1 && *p == '\\';
    if (separator) {
      if (p > begin || !eitherSeparator) names.Add(Slice(begin, p));
      begin = p + 1;
    }
  }
  if (p > begin) names.Add(Slice(begin, p));
  return names;
}

bool IsSlashRooted(const PathParts& parts) {
  return parts.drive.IsEmpty() && parts.dir.GetText()[0] == '/';
}

// The walk both root forms share from a base directory to a path, given
// as their directories' names: up with ".." past the names they do not
// share, down the path's own, then its file name.
CString RelativeByNames(const CArray<CString>& namesB, const CArray<CString>& namesP,
                        const PathParts& p, const char* separator) {
  int common = 0;
  while (common < namesP.GetSize() && common < namesB.GetSize() &&
         namesP[common] == namesB[common]) {
    ++common;
  }
  CString result;
  if (common == namesB.GetSize()) {
    result = ".";
    result += separator;
  } else {
    for (int i = common; i < namesB.GetSize(); ++i) {
      result += "..";
      result += separator;
    }
  }
  for (int i = common; i < namesP.GetSize(); ++i) {
    result += namesP[i];
    result += separator;
  }
  result += p.name;
  result += p.ext;
  return result;
}

// The walk back both root forms share: the leading "." names of a relative
// directory are dropped and each leading ".." takes the last name off the
// root's (none once they are all gone). Returns the first name kept.
int ResolveLeadingDots(const CArray<CString>& names, CArray<CString>* rootNames) {
  int i = 0;
  for (; i < names.GetSize(); ++i) {
    if (names[i] == CString("..")) {
      if (rootNames->GetSize() > 0) rootNames->RemoveLast();
    } else if (!(names[i] == CString("."))) {
      break;
    }
  }
  return i;
}

// Both paths begin with '/': the result uses "./", "../" and '/'.
CString RelativeToSlashRoot(const PathParts& b, const PathParts& p) {
  return RelativeByNames(Names(b.dir, true), Names(p.dir, true), p, "/");
}

// The base begins with '/' and the path has no root: leading "." and ".."
// names are resolved against the base, the rest is appended with '/'.
CString AbsoluteToSlashRoot(const CString& base, const PathParts& p) {
  const CArray<CString> names = Names(p.dir, true);
  CArray<CString> rootNames = Names(base, true);
  CString result("/");
  for (int i = ResolveLeadingDots(names, &rootNames), k = 0;
       k < rootNames.GetSize() || i < names.GetSize();) {
    const CString& name = k < rootNames.GetSize() ? rootNames[k++] : names[i++];
    result += name;
    result += "/";
  }
  result += p.name;
  result += p.ext;
  return result;
}

}  // namespace

CString DirectoryOf(const CString& path) {
  const PathParts parts = SplitPath(path);
  return parts.drive + parts.dir;
}

bool EndsWithBackslash(const CString& text) {
  const char* last = nullptr;
  for (const char* p = text.GetText(); *p; p = Cp932::Next(p)) last = p;
  return last && Cp932::CharLength(last) == 1 && *last == '\\';
}

CString JoinByNames(const CString& directory, const CString& path) {
  CArray<CString> names;
  if (!IsSeparatorAt(path.GetText())) names = Names(directory, true);
  const CArray<CString> pathNames = Names(path, true);
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
  const char* dirEnd = p;  // just past the last separator
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
  RemoveLeadingBackslash(dirB);
  RemoveLeadingBackslash(dirP);
  return RelativeByNames(Names(dirB, false), Names(dirP, false), p, "\\");
}

// The base has a drive and the path none: a path beginning with '\' counts
// as relative to the base too. Leading "." and ".." names are resolved
// against the base, whose root is its drive; more ".." than the base has
// names leave none, not even the drive.
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
  const CArray<CString> names = Names(dirP, false);
  // The base as a directory: one last backslash of its own is not a name.
  CString root(base);
  if (EndsWithBackslash(root)) root.Delete(root.GetLength() - 1, 1);
  CArray<CString> rootNames = Names(root + CString("\\"), false);
  int i = ResolveLeadingDots(names, &rootNames);
  CString result;
  for (int k = 0; k < rootNames.GetSize(); ++k) {
    if (k > 0) result += "\\";
    result += rootNames[k];
  }
  result += "\\";
  for (; i < names.GetSize(); ++i) {
    result += names[i];
    result += "\\";
  }
  result += p.name;
  result += p.ext;
  return result;
}

}  // namespace

namespace {

// The path, or an empty one when an allocation failed on the way: a path
// with a part missing would name another file.
CString Checked(const CString& result, const CAllocationWatch& memory) {
  return memory.Failed() ? CString() : result;
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
  const CAllocationWatch memory;
  return Checked(RelativeForm(path, base, rule), memory);
}

CString AbsolutePath(const CString& path, const CString& base, RootRule rule) {
  const CAllocationWatch memory;
  return Checked(AbsoluteForm(path, base, rule), memory);
}

}  // namespace Core
