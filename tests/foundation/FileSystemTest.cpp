#include "foundation/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"

using Core::CString;
using TestSupport::kSeparator;
using TestSupport::ReadBytes;
using TestSupport::TempDir;
using TestSupport::WriteBytes;

TEST(FileSystemTest, QueryPathForFilesAndDirectories) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"), "a");
  EXPECT_EQ(Core::PathState::kPresent, Core::QueryPath(dir.PathString("a.txt")));
  EXPECT_EQ(Core::PathState::kPresent, Core::QueryPath(dir.Dir().c_str()));
  EXPECT_TRUE(Core::IsDirectory(dir.Dir().c_str()));
  EXPECT_FALSE(Core::IsDirectory(dir.PathString("a.txt")));
  EXPECT_EQ(Core::PathState::kMissing, Core::QueryPath(dir.PathString("missing.txt")));
  EXPECT_EQ(Core::PathState::kMissing, Core::QueryPath(CString()));
  EXPECT_EQ(Core::PathState::kMissing, Core::QueryPath(""));
}

TEST(FileSystemTest, CopyReplacesTargetBytes) {
  TempDir dir;
  const std::string bytes("\x95\x5c\0\r\nend", 8);
  WriteBytes(dir.Path("from.txt"), bytes);
  WriteBytes(dir.Path("to.txt"), "a much longer old content");
  ASSERT_TRUE(Core::CopyFileReplacing(dir.PathString("from.txt"), dir.PathString("to.txt")));
  EXPECT_EQ(ReadBytes(dir.Path("to.txt")), bytes);
  EXPECT_EQ(ReadBytes(dir.Path("from.txt")), bytes);
  ASSERT_TRUE(Core::CopyFileReplacing(dir.PathString("from.txt"), dir.PathString("new.txt")));
  EXPECT_EQ(ReadBytes(dir.Path("new.txt")), bytes);
}

TEST(FileSystemTest, CopyFromMissingSourceFailsAndKeepsTarget) {
  TempDir dir;
  WriteBytes(dir.Path("to.txt"), "old");
  EXPECT_FALSE(Core::CopyFileReplacing(dir.PathString("missing.txt"), dir.PathString("to.txt")));
  EXPECT_EQ(ReadBytes(dir.Path("to.txt")), "old");
  EXPECT_FALSE(Core::CopyFileReplacing(dir.Dir().c_str(), dir.PathString("to.txt")));
  EXPECT_EQ(ReadBytes(dir.Path("to.txt")), "old");
}

TEST(FileSystemTest, CopyOntoItselfKeepsContent) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"), "content");
  EXPECT_FALSE(Core::CopyFileReplacing(dir.PathString("a.txt"), dir.PathString("a.txt")));
  EXPECT_EQ(ReadBytes(dir.Path("a.txt")), "content");
}

TEST(FileSystemTest, FileHeldByCFileIsNotCopiedOverOrRemoved) {
  TempDir dir;
  WriteBytes(dir.Path("held.txt"), "held");
  WriteBytes(dir.Path("other.txt"), "other");
  Core::CFile file;
  ASSERT_TRUE(file.Open(dir.PathString("held.txt"), false, false));
  EXPECT_FALSE(Core::CopyFileReplacing(dir.PathString("other.txt"), dir.PathString("held.txt")));
  EXPECT_FALSE(Core::CopyFileReplacing(dir.PathString("held.txt"), dir.PathString("other.txt")));
  EXPECT_FALSE(Core::RemoveFile(dir.PathString("held.txt")));
  file.Close();
  EXPECT_EQ(ReadBytes(dir.Path("held.txt")), "held");
  EXPECT_EQ(ReadBytes(dir.Path("other.txt")), "other");
  EXPECT_TRUE(Core::CopyFileReplacing(dir.PathString("other.txt"), dir.PathString("held.txt")));
  EXPECT_TRUE(Core::RemoveFile(dir.PathString("held.txt")));
}

TEST(FileSystemTest, RemoveFileDeletesOnlyExistingFiles) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"), "a");
  EXPECT_TRUE(Core::RemoveFile(dir.PathString("a.txt")));
  EXPECT_FALSE(TestSupport::FileExists(dir.Path("a.txt")));
  EXPECT_FALSE(Core::RemoveFile(dir.PathString("a.txt")));
  EXPECT_FALSE(Core::RemoveFile(CString()));
}

TEST(FileSystemTest, CurrentDirectoryRoundTrips) {
  TempDir dir;
  const TestSupport::CurrentDirGuard guard;
  const CString& previous = guard.Previous();
  ASSERT_FALSE(previous.IsEmpty());
  ASSERT_TRUE(Core::SetCurrentDir(dir.Dir().c_str()));
  const CString current = Core::GetCurrentDir();
  const int length = current.GetLength();
  EXPECT_NE(current.GetText()[length - 1], kSeparator);
  Core::FileId want, got;
  ASSERT_EQ(Core::PathState::kPresent, Core::GetFileId(dir.Dir().c_str(), &want));
  ASSERT_EQ(Core::PathState::kPresent, Core::GetFileId(current, &got));
  EXPECT_TRUE(want == got) << current.GetText();
  WriteBytes(dir.Path("here.txt"), "x");
  EXPECT_EQ(Core::PathState::kPresent,
            Core::QueryPath("here.txt"));  // relative paths start at the new directory
  EXPECT_FALSE(Core::SetCurrentDir(dir.PathString("missing")));
  ASSERT_TRUE(Core::SetCurrentDir(previous));
  EXPECT_TRUE(Core::GetCurrentDir() == previous);
}

TEST(FileSystemTest, ModulePathNamesTestProgram) {
  const CString path = Core::GetModulePath();
  EXPECT_NE(path.Find("foundation_FileSystemTest"), -1) << path.GetText();
  EXPECT_EQ(Core::PathState::kPresent, Core::QueryPath(path));
  EXPECT_FALSE(Core::IsDirectory(path));
}

TEST(FileSystemTest, FileIdIsSameForTwoSpellingsOfOneFile) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"), "a");
  WriteBytes(dir.Path("b.txt"), "b");
  std::filesystem::create_directory(dir.Path("sub"));
  Core::FileId plain, dotted, other;
  ASSERT_EQ(Core::PathState::kPresent, Core::GetFileId(dir.PathString("a.txt"), &plain));
  const std::string up = std::string(1, kSeparator) + ".." + kSeparator + "." + kSeparator;
  const std::string roundabout = dir.Path("sub") + up + "a.txt";
  ASSERT_EQ(Core::PathState::kPresent, Core::GetFileId(roundabout.c_str(), &dotted));
  ASSERT_EQ(Core::PathState::kPresent, Core::GetFileId(dir.PathString("b.txt"), &other));
  EXPECT_TRUE(plain == dotted);
  EXPECT_FALSE(plain == other);
  EXPECT_EQ(Core::PathState::kMissing, Core::GetFileId(dir.PathString("missing.txt"), &other));

  Core::CFile file;
  ASSERT_TRUE(file.Open(dir.PathString("a.txt"), false, false));
  Core::FileId open;
  ASSERT_TRUE(file.GetId(&open));
  EXPECT_TRUE(open == plain);
  ASSERT_EQ(Core::PathState::kPresent,
            Core::GetFileId(dir.PathString("a.txt"), &dotted));  // beside an exclusive opener
}

TEST(FileSystemTest, BackslashSeparatesOnEveryPlatform) {
  TempDir dir;
  std::filesystem::create_directory(dir.Path("sub"));
  const std::string backslashed = dir.Dir() + "\\sub\\a.txt";
  Core::CFile file;
  ASSERT_TRUE(file.Open(backslashed.c_str(), true, true));
  ASSERT_TRUE(file.Write("x", 1));
  file.Close();
  EXPECT_EQ(ReadBytes(dir.Path("sub") + kSeparator + "a.txt"), "x");
  EXPECT_EQ(Core::PathState::kPresent, Core::QueryPath(backslashed.c_str()));
  ASSERT_TRUE(Core::CopyFileReplacing(backslashed.c_str(), (dir.Dir() + "\\sub\\b.txt").c_str()));
  EXPECT_EQ(ReadBytes(dir.Path("sub") + kSeparator + "b.txt"), "x");
  EXPECT_TRUE(Core::RemoveFile(backslashed.c_str()));
  EXPECT_FALSE(TestSupport::FileExists(dir.Path("sub") + kSeparator + "a.txt"));
}

TEST(FileSystemTest, TrailingByte5CInNameIsNoSeparator) {
  TempDir dir;
  const std::string name = "\x95\x5c.txt";
  Core::CFile file;
  ASSERT_TRUE(file.Open((dir.Dir() + "\\" + name).c_str(), true, true));
  ASSERT_TRUE(file.Write("kanji", 5));
  file.Close();
#ifdef _WIN32
  const std::string onDisk = name;  // the ANSI code page is 932
#else
  const std::string onDisk = "\xe8\xa1\xa8.txt";  // POSIX names are UTF-8
#endif
  EXPECT_EQ(ReadBytes(dir.Path(onDisk)), "kanji");
  EXPECT_EQ(Core::PathState::kPresent, Core::QueryPath(dir.PathString(name)));
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Dir())) {
    EXPECT_TRUE(entry.is_regular_file());  // no directory named after the lead byte
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

// Names cross the system boundary as the system spells them and come back
// as code page 932 text, a last character whose second byte is 0x5C whole.
TEST(FileSystemTest, JapaneseFolderNameRoundTripsThroughTheSystem) {
  const struct {
    const char* cp932;
    const char* utf8;
  } rows[] = {
      {"\x95\xcf\x8a\xb7", "\xe5\xa4\x89\xe6\x8f\x9b"},  // 変換
      {"\x95\x5c", "\xe8\xa1\xa8"},                      // 表
      {"\x83\x5c", "\xe3\x82\xbd"},                      // ソ
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.utf8);
    TempDir dir;
    std::filesystem::create_directory(std::filesystem::path(dir.Dir()) /
                                      std::filesystem::u8path(row.utf8));
    const TestSupport::CurrentDirGuard guard;
    ASSERT_TRUE(Core::SetCurrentDir((dir.Dir() + kSeparator + row.cp932).c_str()));
    const std::string current = Core::GetCurrentDir().GetText();
    EXPECT_EQ(dir.Dir() + kSeparator + row.cp932, current);
  }
}

#ifndef _WIN32
// A folder deeper than PATH_MAX is a current directory all the same.
TEST(FileSystemTest, CurrentDirectoryLongerThanPathMax) {
  TempDir dir;
  const TestSupport::CurrentDirGuard guard;
  ASSERT_TRUE(Core::SetCurrentDir(dir.Dir().c_str()));
  const std::string name(200, 'd');
  const int depth = 25;  // over 5000 bytes
  const int entered = TestSupport::EnterNested(name, depth);
  const std::string current = Core::GetCurrentDir().GetText();
  TestSupport::LeaveNested(entered);
  ASSERT_EQ(depth, entered);
  std::string want = dir.Dir();
  for (int i = 0; i < depth; ++i) want += "/" + name;
  EXPECT_EQ(want.size(), current.size());
  EXPECT_TRUE(want == current);
}

// A current directory that was removed cannot be named: no guess.
TEST(FileSystemTest, RemovedCurrentDirectoryGivesNothing) {
  TempDir dir;
  const TestSupport::CurrentDirGuard guard;
  std::filesystem::create_directory(dir.Path("gone"));
  ASSERT_TRUE(Core::SetCurrentDir(dir.PathString("gone")));
  std::filesystem::remove(dir.Path("gone"));
  const CString current = Core::GetCurrentDir();
  EXPECT_TRUE(current.IsEmpty()) << current.GetText();
}
#endif
