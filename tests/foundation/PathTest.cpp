#include "foundation/Path.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/FileSystem.h"

using Core::CString;

namespace {

struct ConversionRow {
  const char* path;
  const char* base;
  const char* want;
};

std::string Trace(const ConversionRow& row) { return std::string(row.path) + " | " + row.base; }

}  // namespace

TEST(PathTest, SplitPathFollowsSplitpath) {
  const struct {
    const char* in;
    const char* drive;
    const char* dir;
    const char* name;
    const char* ext;
  } rows[] = {
      {"C:\\proj\\a.c", "C:", "\\proj\\", "a", ".c"},
      {"C:/proj/a.c", "C:", "/proj/", "a", ".c"},
      {"a\\b/c.d", "", "a\\b/", "c", ".d"},
      {"a.tar.gz", "", "", "a.tar", ".gz"},
      {"dir.x\\name", "", "dir.x\\", "name", ""},
      {".profile", "", "", "", ".profile"},
      {"C:", "C:", "", "", ""},
      {"C:\\proj\\", "C:", "\\proj\\", "", ""},
      {"C:a.c", "C:", "", "a", ".c"},
      {"", "", "", "", ""},
      {"C:\\\x95\x5c.c", "C:", "\\", "\x95\x5c", ".c"},  // 0x5C as a trailing byte
      {"\x95\x5c\\a.c", "", "\x95\x5c\\", "a", ".c"},
      {"\x95\x5c", "", "", "\x95\x5c", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.in);
    const Core::PathParts parts = Core::SplitPath(row.in);
    EXPECT_STREQ(parts.drive.GetText(), row.drive);
    EXPECT_STREQ(parts.dir.GetText(), row.dir);
    EXPECT_STREQ(parts.name.GetText(), row.name);
    EXPECT_STREQ(parts.ext.GetText(), row.ext);
    EXPECT_EQ(std::string(row.drive) + row.dir, Core::DirectoryOf(row.in).GetText());
  }
}

TEST(PathTest, RelativePathAgainstBaseDirectory) {
  const ConversionRow rows[] = {
      {"C:\\proj\\a.c", "C:\\proj\\", ".\\a.c"},
      {"C:\\proj\\src\\a.c", "C:\\proj\\", ".\\src\\a.c"},
      {"C:\\other\\a.c", "C:\\proj\\", "..\\other\\a.c"},
      {"D:\\proj\\a.c", "C:\\proj\\", "D:\\proj\\a.c"},
      {".\\a.c", "C:\\proj\\", ".\\a.c"},
      {"C:\\proj\\a.c", "C:\\proj\\sub\\", "..\\a.c"},
      {"C:\\a\\b.c", "C:\\", ".\\a\\b.c"},
      {"C:\\proj\\src\\a.c", "C:\\proj", ".\\src\\a.c"},  // base without the backslash
      {"C:\\a.c", "C:\\proj\\sub\\", "..\\..\\a.c"},
      {"C:\\projx\\a.c", "C:\\proj\\", "..\\projx\\a.c"},  // whole components, not prefixes
      {"C:\\proj\\a.c", "C:\\proj\\src\\deep\\", "..\\..\\a.c"},
      {"c:\\proj\\a.c", "C:\\proj\\", "c:\\proj\\a.c"},  // drives compare case-sensitively
      {"C:\\Proj\\a.c", "C:\\proj\\", "..\\Proj\\a.c"},
      {"C:\\proj\\\\x\\a.c", "C:\\proj\\", ".\\\\x\\a.c"},  // an empty name stays
      {"C:\\proj\\a.c", ".\\proj\\", "C:\\proj\\a.c"},
      {"", "C:\\proj\\", ""},
      {"C:\\proj\\a.c", "", "C:\\proj\\a.c"},
      {"C:\\\x95\x5c\\a.c", "C:\\\x95\x5c\\", ".\\a.c"},
      {"C:\\x\\a.c", "C:\\\x95\x5c\\", "..\\x\\a.c"},  // one component, not two
      {"C:\\\x95\x5c\\a.c", "C:\\\x95\x5c", ".\\a.c"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(Trace(row));
    const CString path(row.path);
    const CString base(row.base);
    EXPECT_STREQ(Core::RelativePath(path, base).GetText(), row.want);
    EXPECT_STREQ(path.GetText(), row.path);
    EXPECT_STREQ(base.GetText(), row.base);
  }
}

TEST(PathTest, AbsolutePathAgainstBaseDirectory) {
  const ConversionRow rows[] = {
      {".\\src\\a.c", "C:\\proj\\", "C:\\proj\\src\\a.c"},
      {"..\\other\\a.c", "C:\\proj\\", "C:\\other\\a.c"},
      {"a.c", "C:\\proj\\", "C:\\proj\\a.c"},
      {"src\\a.c", "C:\\proj\\", "C:\\proj\\src\\a.c"},
      {"C:\\x\\a.c", "C:\\proj\\", "C:\\x\\a.c"},
      {"D:a.c", "C:\\proj\\", "D:a.c"},
      {"\\x\\a.c", "C:\\proj\\", "C:\\proj\\x\\a.c"},  // root-relative counts as base-relative
      {"a.c", "C:\\proj", "C:\\proj\\a.c"},
      {".\\.\\a.c", "C:\\proj\\", "C:\\proj\\a.c"},
      {"..\\..\\a.c", "C:\\proj\\sub\\", "C:\\a.c"},
      {"..\\..\\..\\a.c", "C:\\proj\\", "\\a.c"},  // more steps than components
      {"..\\a.c", "C:\\", "\\a.c"},
      {".hidden\\a.c", "C:\\proj\\", "C:\\proj\\.hidden\\a.c"},
      {"a.c", "\\proj\\", "a.c"},  // the base has no drive
      {"", "C:\\proj\\", ""},
      {"a.c", "", "a.c"},
      {"..\\a.c", "C:\\\x95\x5c\\sub\\", "C:\\\x95\x5c\\a.c"},
      {"..\\b.c", "C:\\a\\\x95\x5c\\", "C:\\a\\b.c"},  // the cut skips the trailing byte
      {".\\\x95\x5c\\a.c", "C:\\proj\\", "C:\\proj\\\x95\x5c\\a.c"},
      {".\\\\x\\a.c", "C:\\proj", "C:\\proj\\\\x\\a.c"},  // an empty name stays
      {"..\\a.c", "C:\\proj\\\\", "C:\\proj\\a.c"},       // ".." takes the empty name
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(Trace(row));
    const CString path(row.path);
    const CString base(row.base);
    EXPECT_STREQ(Core::AbsolutePath(path, base).GetText(), row.want);
    EXPECT_STREQ(path.GetText(), row.path);
    EXPECT_STREQ(base.GetText(), row.base);
  }
}

TEST(PathTest, RelativeThenAbsoluteGivesPathBack) {
  const struct {
    const char* path;
    const char* base;
  } rows[] = {
      {"C:\\proj\\a.c", "C:\\proj\\"},
      {"C:\\proj\\src\\deep\\a.c", "C:\\proj\\"},
      {"C:\\other\\x\\a.c", "C:\\proj\\sub\\"},
      {"C:\\a.c", "C:\\proj\\sub\\"},
      {"C:\\proj\\a.c", "C:\\"},
      {"C:\\proj\\a", "C:\\proj"},
      {"C:\\\x95\x5c\\\x95\x5c.txt", "C:\\proj\\\x95\x5c\\"},
      {"e:\\work\\out\\b.h", "e:\\work\\src\\"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.path) + " | " + row.base);
    const CString relative = Core::RelativePath(row.path, row.base);
    EXPECT_EQ(relative.Find("."), 0) << relative.GetText();
    EXPECT_STREQ(Core::AbsolutePath(relative, row.base).GetText(), row.path);
  }
}

// POSIX roots: a path beginning with '/' is rooted like a drive, and the
// relative forms use "./", "../" and '/'.
TEST(PathTest, SlashRootedPathsConvertLikeDrivePaths) {
  using Core::RootRule;
  const struct {
    bool relative;
    const char* path;
    const char* base;
    const char* want;
  } rows[] = {
      {true, "/home/u/proj/a.c", "/home/u/proj/", "./a.c"},
      {true, "/home/u/proj/src/a.c", "/home/u/proj", "./src/a.c"},
      {true, "/home/u/other/a.c", "/home/u/proj/", "../other/a.c"},
      {true, "/a.c", "/home/u/proj/", "../../../a.c"},
      {true, "/home/u/proj/a.c", "/", "./home/u/proj/a.c"},
      {true, "C:\\proj\\a.c", "/home/u/proj/", "C:\\proj\\a.c"},        // another root
      {true, "./a.c", "/home/u/proj/", "./a.c"},                        // not rooted
      {true, "C:\\proj\\src\\a.c", "C:\\proj\\", ".\\src\\a.c"},        // drives as ever
      {false, ".\\src\\a.c", "/home/u/proj/", "/home/u/proj/src/a.c"},  // made on Windows
      {false, "./src/a.c", "/home/u/proj", "/home/u/proj/src/a.c"},
      {false, "../other/a.c", "/home/u/proj/", "/home/u/other/a.c"},
      {false, "..\\..\\..\\..\\a.c", "/home/u/proj/", "/a.c"},
      {false, "a.c", "/home/u/proj/", "/home/u/proj/a.c"},
      {false, "\\x\\a.c", "/home/u/proj/",
       "/home/u/proj/x/a.c"},  // relative to the base, as with drives
      {false, "/etc/a.c", "/home/u/proj/", "/etc/a.c"},
      {false, "C:\\x\\a.c", "/home/u/proj/", "C:\\x\\a.c"},
      {false, ".\\a.c", "C:\\proj\\", "C:\\proj\\a.c"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.path) + " | " + row.base);
    const CString got = row.relative
                            ? Core::RelativePath(row.path, row.base, RootRule::kDriveOrSlash)
                            : Core::AbsolutePath(row.path, row.base, RootRule::kDriveOrSlash);
    EXPECT_STREQ(row.want, got.GetText());
  }
  // Without the POSIX rule a slash root is no root at all.
  EXPECT_STREQ(
      "/home/u/proj/a.c",
      Core::RelativePath("/home/u/proj/a.c", "/home/u/proj/", RootRule::kDriveOnly).GetText());
  EXPECT_STREQ("a.c", Core::AbsolutePath("a.c", "/home/u/proj/", RootRule::kDriveOnly).GetText());
}

TEST(PathTest, JoinByNamesResolvesPointsAndRoots) {
  const ConversionRow rows[] = {
      {"a.c", "/home/u", "/home/u/a.c"},
      {"src/../out/./a.c", "/home/u/", "/home/u/out/a.c"},
      {"../../../a.c", "/home/u", "/a.c"},  // never above the root
      {"/data/p.tvx", "/home/u", "/data/p.tvx"},
      {"\\data\\p.tvx", "/home/u", "/data/p.tvx"},
      {"a//b", "/", "/a/b"},
      {"..", "/", "/"},
      {"..\\a.c", "/home/\x95\x5c", "/home/a.c"},  // one name, not two
      {"\x95\x5c\\a.c", "/home/u", "/home/u/\x95\x5c/a.c"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(Trace(row));
    EXPECT_STREQ(row.want, Core::JoinByNames(row.base, row.path).GetText());
  }
}

// Command-line paths follow the system's rule, not the project items' one.
TEST(PathTest, FullPathFollowsTheSystem) {
  const CString current = Core::GetCurrentDir();
  ASSERT_FALSE(current.IsEmpty());
  const std::string here = current.GetText();
#ifdef _WIN32
  const std::string drive = here.substr(0, 2);
  const ConversionRow rows[] = {
      {"\\proj\\p.tvx", "", "\\proj\\p.tvx"},  // the current drive's root
      {"/data/p.tvx", "", "\\data\\p.tvx"},
      {"C:\\a\\..\\b.c", "", "C:\\b.c"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    CString full;
    ASSERT_TRUE(Core::FullPath(row.path, &full));
    const std::string want = row.path[1] == ':' ? row.want : drive + row.want;
    EXPECT_EQ(want, full.GetText());
  }
  const std::string separator = "\\";
#else
  CString full;
  ASSERT_TRUE(Core::FullPath("/data/../p.tvx", &full));
  EXPECT_STREQ("/p.tvx", full.GetText());
  const std::string separator = "/";
#endif
  CString relative;
  ASSERT_TRUE(Core::FullPath("sub/../a.c", &relative));
  EXPECT_EQ(here + separator + "a.c", relative.GetText());
  CString none;
  EXPECT_FALSE(Core::FullPath("", &none));
}
