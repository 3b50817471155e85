#include "foundation/File.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <string>

#include "tests/support/TempDir.h"

using Core::CFile;
using Core::CString;
using TestSupport::ReadBytes;
using TestSupport::TempDir;
using TestSupport::WriteBytes;

namespace {

std::string ReadAll(CFile& file) {
  std::string content;
  char buffer[4];  // small reads cross chunk boundaries
  for (int n; (n = file.Read(buffer, sizeof buffer)) > 0;) {
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return content;
}

}  // namespace

TEST(CFileTest, ReadsWritesAndSizes) {
  TempDir dir;
  const CString path = dir.PathString("data.bin");
  CFile file;
  ASSERT_TRUE(file.Open(path, true, true));
  const char raw[] = "hello\0\x95\x5cworld\r\n";
  const std::string bytes(raw, sizeof raw - 1);
  ASSERT_TRUE(file.Write(bytes.data(), static_cast<int>(bytes.size())));
  EXPECT_EQ(file.GetSize(), 15u);
  file.Close();
  EXPECT_EQ(ReadBytes(dir.Path("data.bin")), bytes);

  ASSERT_TRUE(file.Open(path, false, false));
  EXPECT_EQ(file.GetSize(), 15u);
  char buffer[8] = {};
  EXPECT_EQ(file.Read(buffer, 0), 0);
  EXPECT_EQ(file.Read(buffer, 8), 8);
  EXPECT_EQ(std::string(buffer, 8), bytes.substr(0, 8));
  EXPECT_EQ(file.Read(buffer, 8), 7);  // fewer only at the end
  EXPECT_EQ(std::string(buffer, 7), "world\r\n");
  EXPECT_EQ(file.Read(buffer, 8), 0);  // end of file

  ASSERT_TRUE(file.Open(path, false, false));
  EXPECT_EQ(ReadAll(file), bytes);
}

TEST(CFileTest, CreateAlwaysEmptiesExistingFile) {
  TempDir dir;
  WriteBytes(dir.Path("old.txt"), "old content");
  CFile file;
  ASSERT_TRUE(file.Open(dir.PathString("old.txt"), true, true));
  EXPECT_EQ(file.GetSize(), 0u);
  ASSERT_TRUE(file.Write("new", 3));
  file.Close();
  EXPECT_EQ(ReadBytes(dir.Path("old.txt")), "new");
}

TEST(CFileTest, SecondOpenerIsRefusedWhileOpen) {
  TempDir dir;
  const CString path = dir.PathString("locked.txt");
  WriteBytes(dir.Path("locked.txt"), "keep me");
  const struct {
    bool write;
    bool create;
  } modes[] = {{false, false}, {true, false}, {true, true}};
  for (const auto& holder : modes) {
    for (const auto& second : modes) {
      SCOPED_TRACE(std::to_string(holder.write) + std::to_string(holder.create) + " then " +
                   std::to_string(second.write) + std::to_string(second.create));
      WriteBytes(dir.Path("locked.txt"), "keep me");
      CFile first;
      ASSERT_TRUE(first.Open(path, holder.write, holder.create));
      if (holder.create) {
        ASSERT_TRUE(first.Write("kept", 4));
      }
      CFile other;
      EXPECT_FALSE(other.Open(path, second.write, second.create));
      EXPECT_FALSE(other.IsOpen());
      EXPECT_TRUE(other.GetPath().IsEmpty());
      first.Close();
      EXPECT_EQ(ReadBytes(dir.Path("locked.txt")), holder.create ? "kept" : "keep me");
      EXPECT_TRUE(other.Open(path, false, false));
    }
  }
}

TEST(CFileTest, PathIsKeptWhileOpenAndEmptiedOnClose) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"), "a");
  const CString path = dir.PathString("a.txt");
  CFile file;
  EXPECT_TRUE(file.GetPath().IsEmpty());
  ASSERT_TRUE(file.Open(path, false, false));
  EXPECT_TRUE(file.IsOpen());
  EXPECT_TRUE(file.GetPath() == path);
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_TRUE(file.GetPath().IsEmpty());
  file.Close();  // a second close does nothing
  EXPECT_FALSE(file.IsOpen());
}

TEST(CFileTest, FailedOpenClosesPreviousFile) {
  TempDir dir;
  WriteBytes(dir.Path("a.txt"), "a");
  CFile file;
  ASSERT_TRUE(file.Open(dir.PathString("a.txt"), false, false));
  EXPECT_FALSE(file.Open(dir.PathString("missing.txt"), false, false));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_TRUE(file.GetPath().IsEmpty());
  EXPECT_FALSE(TestSupport::FileExists(dir.Path("missing.txt")));
  CFile other;
  EXPECT_TRUE(other.Open(dir.PathString("a.txt"), true, false));  // the first file was released
  EXPECT_FALSE(file.Open(CString(), false, false));
  EXPECT_FALSE(file.Open(CString(""), true, true));
}

TEST(CFileTest, ClosedFileRefusesReadsAndWrites) {
  CFile file;
  char buffer[4];
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.Read(buffer, sizeof buffer), -1);
  EXPECT_FALSE(file.Write("x", 1));
  EXPECT_EQ(file.GetSize(), 0u);
  Core::FileId id;
  EXPECT_FALSE(file.GetId(&id));
  file.Close();
}

TEST(CFileTest, DestructionReleasesFile) {
  TempDir dir;
  const CString path = dir.PathString("a.txt");
  {
    CFile file;
    ASSERT_TRUE(file.Open(path, true, true));
    ASSERT_TRUE(file.Write("abc", 3));
  }
  CFile again;
  ASSERT_TRUE(again.Open(path, true, false));
  EXPECT_EQ(again.GetSize(), 3u);
}

TEST(CFileTest, DirectoryIsNotAFile) {
  TempDir dir;
  const CString path(dir.Dir().c_str());
  CFile file;
  EXPECT_FALSE(file.Open(path, false, false));
  EXPECT_FALSE(file.Open(path, true, false));
  EXPECT_FALSE(file.Open(path, true, true));
  EXPECT_FALSE(file.IsOpen());
}

// A device or pipe named as a source would block or never end a read.
TEST(CFileTest, DevicesAreNotFiles) {
#ifdef _WIN32
  const char* const devices[] = {"CON", "NUL", "CONIN$"};
#else
  TempDir dir;
  const std::string fifo = dir.Path("fifo");
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  const char* const devices[] = {"/dev/zero", "/dev/null", fifo.c_str()};
#endif
  for (const char* device : devices) {
    SCOPED_TRACE(device);
    CFile file;
    EXPECT_FALSE(file.Open(device, false, false));
    EXPECT_FALSE(file.IsOpen());
  }
}
