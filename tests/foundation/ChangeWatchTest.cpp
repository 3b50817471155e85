#include "foundation/ChangeWatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

using TestSupport::kSeparator;
using TestSupport::TempDir;
using TestSupport::WriteBytes;

namespace {

// Watched: a.c (there), b.c (not there), sub/c.c (no folder yet). n.c is
// an unwatched neighbour in the same folder.
const char* const kWatched[] = {"a.c", "b.c", "sub/c.c"};

std::string Native(const std::string& name) {
  std::string path = name;
  std::replace(path.begin(), path.end(), '/', kSeparator);
  return path;
}

void Append(const TempDir& dir, const std::string& name, const std::string& bytes) {
  std::ofstream(dir.Path(Native(name)), std::ios::binary | std::ios::app) << bytes;
}

struct Case {
  const char* name;
  void (*change)(const TempDir& dir);
  std::vector<std::string> expected;  // none: nothing is reported
  bool setAgain = false;              // the same files are set again after the change
  // The files are first set after the change, with how they stood before
  // it: read before the change, watched after.
  bool setAfter = false;
};

const Case kCases[] = {
    {"save by rename",
     [](const TempDir& dir) {
       WriteBytes(dir.Path("a.tmp"), "saved by an editor\n");
       std::filesystem::rename(dir.Path("a.tmp"), dir.Path("a.c"));
     },
     {"a.c"}},
    {"append", [](const TempDir& dir) { Append(dir, "a.c", "more\n"); }, {"a.c"}},
    {"delete then create",
     [](const TempDir& dir) {
       std::filesystem::remove(dir.Path("a.c"));
       WriteBytes(dir.Path("a.c"), "made again, longer\n");
     },
     {"a.c"}},
    {"missing file created",
     [](const TempDir& dir) { WriteBytes(dir.Path("b.c"), "b\n"); },
     {"b.c"}},
    {"folder and file created",
     [](const TempDir& dir) {
       std::filesystem::create_directory(dir.Path("sub"));
       WriteBytes(dir.Path(Native("sub/c.c")), "c\n");
     },
     {"sub/c.c"}},
    {"change while the caller was busy",
     [](const TempDir& dir) { Append(dir, "a.c", "more\n"); },
     {"a.c"},
     true},
    {"change between the read and the watch",
     [](const TempDir& dir) { Append(dir, "a.c", "more\n"); },
     {"a.c"},
     false,
     true},
    {"file made between the read and the watch",
     [](const TempDir& dir) { WriteBytes(dir.Path("b.c"), "b\n"); },
     {"b.c"},
     false,
     true},
    {"nothing changed between the read and the watch", [](const TempDir&) {}, {}, false, true},
    {"unwatched neighbour",
     [](const TempDir& dir) {
       Append(dir, "n.c", "more\n");
       WriteBytes(dir.Path("n.tmp"), "saved\n");
       std::filesystem::rename(dir.Path("n.tmp"), dir.Path("n.c"));
       std::filesystem::remove(dir.Path("n.c"));
     },
     {}},
};

std::vector<std::string> Names(const TempDir& dir, const Core::CArray<Core::CString>& paths) {
  std::vector<std::string> names;
  const std::string prefix = dir.Dir() + kSeparator;
  for (int i = 0; i < paths.GetSize(); ++i) {
    std::string name = paths[i].GetText();
    if (name.compare(0, prefix.size(), prefix) == 0) name.erase(0, prefix.size());
    std::replace(name.begin(), name.end(), kSeparator, '/');
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(ChangeWatchTest, ReportsExactlyTheWatchedFilesThatChanged) {
  for (const bool pollOnly : {false, true}) {
    for (const Case& c : kCases) {
      SCOPED_TRACE(std::string(c.name) + (pollOnly ? ", polling" : ", notification"));
      TempDir dir;
      WriteBytes(dir.Path("a.c"), "a\n");
      WriteBytes(dir.Path("n.c"), "n\n");
      Core::CArray<Core::CString> paths;
      for (const char* name : kWatched) ASSERT_TRUE(paths.Add(dir.PathString(Native(name))));
      Core::CArray<Core::FileLook> seen;
      for (int i = 0; i < paths.GetSize(); ++i) ASSERT_TRUE(seen.Add(Core::LookAtFile(paths[i])));
      Core::CChangeWatch watch(pollOnly);
      if (!c.setAfter) {
        ASSERT_TRUE(watch.SetFiles(paths));
        EXPECT_EQ(!pollOnly, watch.IsNotifying());
        EXPECT_TRUE(watch.IsPolling());  // sub/ is not there to be watched
      }

      c.change(dir);
      if (c.setAgain) {
        ASSERT_TRUE(watch.SetFiles(paths));
      }
      if (c.setAfter) {
        ASSERT_TRUE(watch.SetFiles(paths, &seen));
      }
      Core::CArray<Core::CString> changed;
      // The deadline only bounds a failing case; a quiet case must outlast
      // a poll and a burst.
      const int timeout = c.expected.empty() ? 3 * Core::CChangeWatch::kPollMs : 10000;
      const auto result = watch.Wait(timeout, nullptr, &changed);
      EXPECT_EQ(c.expected, Names(dir, changed));
      EXPECT_EQ(c.expected.empty() ? Core::CChangeWatch::WaitResult::kTimedOut
                                   : Core::CChangeWatch::WaitResult::kChanged,
                result);
    }
  }
}
