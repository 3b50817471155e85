// Temporaries of killed runs, removed by the next save of the same target.
#include "foundation/StaleTemporaries.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/FileSystem.h"
#include "foundation/ReplacingFile.h"
#include "tests/support/TempDir.h"

using TestSupport::ReadBytes;
using TestSupport::TempDir;
using TestSupport::WriteBytes;

namespace {

#ifdef _WIN32
unsigned long ThisProcess() { return GetCurrentProcessId(); }

// A number no process has: OpenProcess refuses it as an invalid parameter.
unsigned long EndedProcess() {
  for (DWORD pid = 0x7FFFFFF1; pid > 0x7FF00000; pid -= 4) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process) {
      CloseHandle(process);
    } else if (GetLastError() == ERROR_INVALID_PARAMETER) {
      return pid;
    }
  }
  return 0;
}
#else
unsigned long ThisProcess() { return static_cast<unsigned long>(::getpid()); }

// A number no process has: kill() answers ESRCH.
unsigned long EndedProcess() {
  long max = 32768;
  std::ifstream("/proc/sys/kernel/pid_max") >> max;
  for (long pid = max - 1; pid > 1; --pid) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
      return static_cast<unsigned long>(pid);
    }
  }
  return 0;
}
#endif

}  // namespace

// A save first removes the temporaries that killed runs left in its
// folder, and nothing else: a live writer's temporary, one held open, a
// look-alike name and anything but a plain file stay.
TEST(StaleTemporariesTest, SaveRemovesOnlyTemporariesOfEndedRuns) {
  const std::string ended = std::to_string(EndedProcess());
  ASSERT_NE(ended, "0");
  const std::string self = std::to_string(ThisProcess());
#ifdef _WIN32
  const std::string kanji = "\x95\x5c";  // a second byte 0x5C, as the system names it
#else
  const std::string kanji = "\xe8\xa1\xa8";
#endif
  TempDir dir;
  WriteBytes(dir.Path("from.txt"), "new");
  const std::string mark = ".tovi-" + ended + "-";
  enum Kind { kFile, kHeld, kFolder, kLink };
  const struct {
    std::string name;
    Kind kind;
    bool removed;
  } rows[] = {
      {"to.txt" + mark + "0", kFile, true},
      {kanji + ".txt" + mark + "1", kFile, true},
      {"to.txt.tovi-" + self + "-999", kFile, false},  // this process is alive
      {"to.txt" + mark + "2", kHeld, false},           // being written
      {"to.txt" + mark + "3", kFolder, false},
      {"o.txt" + mark + "4", kFile, true},  // other targets
      {"to.txt.bak" + mark + "6", kFile, true},
      {"a.tovi-1-2" + mark + "5", kFile, true},  // a name with a mark of its own
      {mark + "11", kFile, false},               // no name before the mark
      {"to.txt" + mark + "7x", kFile, false},
      {"to.txt.tovi-" + ended, kFile, false},
      {"to.txt.tovi-x" + ended + "-8", kFile, false},
      {"to.txt.tovi-0-9", kFile, false},
#ifndef _WIN32
      {"to.txt" + mark + "10", kLink, false},
#endif
  };
  WriteBytes(dir.Path("victim"), "victim");
  Core::CFile held;
  for (const auto& row : rows) {
    if (row.kind == kFolder) {
      std::filesystem::create_directory(dir.Path(row.name));
    } else if (row.kind == kLink) {
      std::filesystem::create_symlink(dir.Path("victim"), dir.Path(row.name));
    } else {
      WriteBytes(dir.Path(row.name), "old");
    }
    if (row.kind == kHeld) {
      ASSERT_TRUE(held.Open(dir.PathString(row.name), false, false));
    }
  }
  // The first save into the folder looks through it; saves right after
  // it do not list it again.
  Core::CReplacingFile writer;
  ASSERT_TRUE(writer.Open(dir.PathString("to.txt"), Core::CReplacingFile::kReplaceLink));
  ASSERT_TRUE(writer.Write("w", 1));
#ifndef _WIN32
  // The writer holds a lock on its temporary until it is put in place.
  int temporaries = 0;
  const std::string own = "to.txt.tovi-" + self + "-";
  for (const auto& entry : std::filesystem::directory_iterator(dir.Dir())) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(own, 0) != 0 || name == own + "999") continue;
    ++temporaries;
    const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_NE(::flock(fd, LOCK_EX | LOCK_NB), 0) << entry.path();
    ::close(fd);
  }
  EXPECT_EQ(temporaries, 1);
#endif
  ASSERT_TRUE(Core::CopyFileReplacing(dir.PathString("from.txt"), dir.PathString("to.txt")));
  held.Close();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.Path(row.name);
    if (row.kind == kFolder) {
      EXPECT_TRUE(std::filesystem::is_directory(path));
    } else if (row.kind == kLink) {
      EXPECT_TRUE(std::filesystem::is_symlink(path));
    } else {
      EXPECT_EQ(ReadBytes(path), row.removed ? "<missing>" : "old");
    }
  }
  EXPECT_EQ(ReadBytes(dir.Path("victim")), "victim");
  // The live writer's temporary is still there to be put in place.
  ASSERT_TRUE(writer.Commit(false));
  EXPECT_EQ(ReadBytes(dir.Path("to.txt")), "w");
}
