// Every file call of a conversion run, a check run and a project load and
// save is made to fail in turn (an I/O error, a full disk) or to come back
// short. Whatever call fails, no old content is lost, nothing reported done
// differs from the fault-free result, every difference is reported, and no
// temporary is left behind; a short transfer changes nothing at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <cstdio>
#include <iterator>
#include <map>
#include <string>

#include "engine/CheckRun.h"
#include "engine/ConversionRun.h"
#include "foundation/SourceEncoding.h"
#include "foundation/FileFault.h"
#include "project/Document.h"
#include "tests/support/TempDir.h"

namespace {

using Core::Testing::FileFaultMode;
using Files = std::map<std::string, std::string>;  // name -> bytes ("<missing>")

constexpr FileFaultMode kModes[] = {FileFaultMode::kIoError, FileFaultMode::kDiskFull,
                                    FileFaultMode::kShort};

const char* ModeName(FileFaultMode mode) {
  return mode == FileFaultMode::kIoError    ? "I/O error"
         : mode == FileFaultMode::kDiskFull ? "disk full"
                                            : "short";
}

// The last conversion run's log.
std::string g_log;

class RecordingLog : public ILogSink {
 public:
  void AppendLog(const Core::CString& text) override { g_log += text.GetText(); }
};

class CheckRecord : public ICheckSink {
 public:
  void ReportItem(const CItem&, CheckResult result, const Core::CString&) override {
    // Only a failure may stand for a fault: never "stale" or "missing".
    if (result != CheckResult::kUpToDate && result != CheckResult::kFailed &&
        result != CheckResult::kUnreadable) {
      ++misreported;
    }
  }
  int misreported = 0;
};

// A source read in two pieces, with an inclusion, and output in several.
std::string LargeSource() {
  std::string text = "#define WORD value\n#include \"inc.h\"\n";
  while (text.size() < 300 * 1024) text += "WORD and some more words of an ordinary line\n";
  return text;
}

// The files a scenario starts from.
const Files kStart = {
    {"big.c", LargeSource()},        {"inc.h", "#define INCLUDED 1\nINCLUDED from the header\n"},
    {"small.c", "#define A b\nA\n"}, {"other.c", "other\n"},
    {"out1.txt", "old out1\r\n"},    {"out1.txt.bak", "older out1\r\n"},
    {"out2.txt", "old out2\r\n"},
};

// Sets up files a scenario needs beyond the start's, fault-free.
using Setup = std::function<void(const TestSupport::TempDir&)>;
// Runs the scenario; false when it reported a failure. Counts in
// *misreported the results that took a fault for something else.
using Run = std::function<bool(const TestSupport::TempDir&, int* misreported)>;

struct Outcome {
  bool reported = true;  // the run said it completed
  Files before;          // the files as the run found them
  Files files;           // and as it left them
  int calls = 0;
  int misreported = 0;
};

Files Snapshot(const TestSupport::TempDir& dir) {
  Files files;
  for (const auto& [name, bytes] : kStart) files[name] = TestSupport::ReadBytes(dir.Path(name));
  for (const char* name : {"out1.txt.bak", "out2.txt.bak", "p.tvx"}) {
    files[name] = TestSupport::ReadBytes(dir.Path(name));
  }
  return files;
}

// The names of the files that differ, for a readable failure.
std::string Differing(const Files& want, const Files& got) {
  std::string names;
  for (const auto& [name, bytes] : want) {
    if (got.at(name) != bytes) names += name + " ";
  }
  return names;
}

// Runs the scenario from the start's files, with the fault armed as
// given (negative: none).
Outcome RunOnce(const Setup& setup, const Run& run, int fault, FileFaultMode mode) {
  TestSupport::TempDir dir;
  TestSupport::CurrentDirGuard guard;
  for (const auto& [name, bytes] : kStart) TestSupport::WriteBytes(dir.Path(name), bytes);
  if (setup) setup(dir);
  Outcome outcome;
  outcome.before = Snapshot(dir);
  Core::Testing::FailFileCallAfter(fault, mode);
  outcome.reported = run(dir, &outcome.misreported);
  outcome.calls = Core::Testing::FileCallCount();
  Core::Testing::FailFileCallAfter(-1, mode);
  outcome.files = Snapshot(dir);
  for (const auto& entry : std::filesystem::directory_iterator(dir.Dir())) {
    EXPECT_EQ(entry.path().filename().string().find(".tovi-"), std::string::npos)
        << "a temporary was left behind";
  }
  return outcome;
}

// Fails every call of the scenario in turn, in every mode. A run that
// reports success must have made exactly the fault-free files; a short
// transfer must change nothing; `check` checks each failed run further.
void Sweep(const Setup& setup, const Run& run,
           const std::function<void(const Outcome& clean, const Outcome& faulty)>& check) {
  const Outcome clean = RunOnce(setup, run, -1, FileFaultMode::kIoError);
  ASSERT_TRUE(clean.reported);
  ASSERT_GT(clean.calls, 10);
  std::printf("%d file calls, each failed in %zu modes\n", clean.calls, std::size(kModes));
  for (FileFaultMode mode : kModes) {
    for (int k = 0; k < clean.calls; ++k) {
      SCOPED_TRACE(std::string(ModeName(mode)) + " at call " + std::to_string(k));
      const Outcome faulty = RunOnce(setup, run, k, mode);
      EXPECT_EQ(0, faulty.misreported);
      if (mode == FileFaultMode::kShort) {
        EXPECT_TRUE(faulty.reported);
        EXPECT_EQ("", Differing(clean.files, faulty.files));
      } else {
        if (faulty.reported) {
          EXPECT_EQ("", Differing(clean.files, faulty.files)) << "reported done";
        }
        check(clean, faulty);
      }
      if (::testing::Test::HasFailure()) return;
    }
  }
}

// The old bytes of a destination are in it or in its backup.
void ExpectKept(const Files& files, const std::string& name, const std::string& old) {
  EXPECT_TRUE(files.at(name) == old || files.at(name + ".bak") == old) << name << " lost";
}

// A file holds one of the allowed texts, or is missing (an item stopped
// by an error in its lines drops its destination once it is backed up).
void ExpectOneOf(const Files& files, const std::string& name,
                 std::initializer_list<std::string> allowed) {
  const std::string& bytes = files.at(name);
  bool found = bytes == "<missing>";
  for (const std::string& one : allowed) found = found || bytes == one;
  EXPECT_TRUE(found) << name << " holds bytes no run makes";
}

Core::CArray<CItem> Items(const TestSupport::TempDir& dir) {
  Core::CArray<CItem> items;
  // out2.txt twice: the second item must not back up the first one's output.
  const std::pair<const char*, const char*> pairs[] = {
      {"big.c", "out1.txt"}, {"small.c", "out2.txt"}, {"other.c", "out2.txt"}};
  for (const auto& [source, destination] : pairs) {
    EXPECT_TRUE(items.Add(CItem(dir.PathString(source), dir.PathString(destination))));
  }
  return items;
}

Core::CArray<int> AllOf(const Core::CArray<CItem>& items) {
  Core::CArray<int> indices;
  for (int i = 0; i < items.GetSize(); ++i) EXPECT_TRUE(indices.Add(i));
  return indices;
}

// Directive lines removed: small.c alone makes "b".
ConversionSettings Settings() {
  ConversionSettings settings;
  settings.disposition = 0;
  return settings;
}

bool ConvertAll(const TestSupport::TempDir& dir, bool onlyChanged = false) {
  const Core::CArray<CItem> items = Items(dir);
  g_log.clear();
  RecordingLog log;
  ConversionSettings settings = Settings();
  settings.onlyChanged = onlyChanged;
  return ConvertItems(items, AllOf(items), settings, log) == 0;
}

}  // namespace

TEST(FileFaultSweepTest, ConversionRun) {
  const std::string out2First = "b\r\n";  // small.c's result, before other.c replaces it
  Sweep(
      nullptr, [](const TestSupport::TempDir& dir, int*) { return ConvertAll(dir); },
      [&](const Outcome& clean, const Outcome& faulty) {
        ExpectKept(faulty.files, "out1.txt", kStart.at("out1.txt"));
        ExpectKept(faulty.files, "out2.txt", kStart.at("out2.txt"));
        ExpectOneOf(faulty.files, "out1.txt", {kStart.at("out1.txt"), clean.files.at("out1.txt")});
        ExpectOneOf(faulty.files, "out2.txt",
                    {kStart.at("out2.txt"), out2First, clean.files.at("out2.txt")});
        // A backup holds the file as it was before the run, or the older backup.
        ExpectOneOf(faulty.files, "out1.txt.bak",
                    {kStart.at("out1.txt.bak"), kStart.at("out1.txt")});
        ExpectOneOf(faulty.files, "out2.txt.bak", {kStart.at("out2.txt")});
        // A file that could not be read says nothing about the destination,
        // which stays.
        if (g_log.find("の読み込みに失敗しました") != std::string::npos) {
          EXPECT_NE("<missing>", faulty.files.at("out1.txt"));
          EXPECT_NE("<missing>", faulty.files.at("out2.txt"));
        }
        for (const char* source : {"big.c", "inc.h", "small.c", "other.c"}) {
          EXPECT_EQ(kStart.at(source), faulty.files.at(source));
        }
      });
}

TEST(FileFaultSweepTest, ConversionRunOnlyChanged) {
  // After a first run out1.txt is up to date (a large output, compared in
  // pieces); small.c's item changes out2.txt and other.c's changes it back.
  Sweep([](const TestSupport::TempDir& dir) { ASSERT_TRUE(ConvertAll(dir)); },
        [](const TestSupport::TempDir& dir, int*) { return ConvertAll(dir, true); },
        [](const Outcome& clean, const Outcome& faulty) {
          const Files& before = faulty.before;
          ExpectKept(faulty.files, "out1.txt", before.at("out1.txt"));
          ExpectKept(faulty.files, "out2.txt", before.at("out2.txt"));
          ExpectOneOf(faulty.files, "out1.txt", {before.at("out1.txt")});
          ExpectOneOf(faulty.files, "out2.txt", {before.at("out2.txt"), "b\r\n"});
          ExpectOneOf(faulty.files, "out1.txt.bak",
                      {before.at("out1.txt.bak"), before.at("out1.txt")});
          ExpectOneOf(faulty.files, "out2.txt.bak",
                      {before.at("out2.txt.bak"), before.at("out2.txt")});
          EXPECT_EQ(clean.files.at("out1.txt"), before.at("out1.txt"));
        });
}

TEST(FileFaultSweepTest, CheckRun) {
  // Every destination converted first: a fault must never pass for a
  // stale or missing one, and the check writes nothing.
  Sweep([](const TestSupport::TempDir& dir) { ASSERT_TRUE(ConvertAll(dir)); },
        [](const TestSupport::TempDir& dir, int* misreported) {
          const Core::CArray<CItem> items = Items(dir);
          Core::CArray<int> last;  // the item that wrote out2.txt last, not the one before
          EXPECT_TRUE(last.Add(0) && last.Add(2));
          CheckRecord record;
          const bool upToDate = CheckItems(items, last, Settings(), record) == 0;
          *misreported = record.misreported;
          return upToDate;
        },
        [](const Outcome&, const Outcome& faulty) {
          EXPECT_EQ("", Differing(faulty.before, faulty.files));
        });
}

TEST(FileFaultSweepTest, ProjectLoadAndSave) {
  // Relative paths and settings other than the defaults: a load that took
  // a failed read for the end would save them otherwise.
  const auto setup = [](const TestSupport::TempDir& dir) {
    CDocument doc;
    doc.Reset(1, 0);
    doc.m_nSourceCodePage = kSourceUtf8;
    ASSERT_TRUE(doc.AddItem(CItem(dir.PathString("small.c"), dir.PathString("out2.txt"))));
    ASSERT_TRUE(doc.Save(dir.Path("p.tvx").c_str()));
  };
  Sweep(
      setup,
      [](const TestSupport::TempDir& dir, int*) {
        CDocument doc;
        return doc.Load(dir.Path("p.tvx").c_str()) && doc.AddItem(CItem("other.c", "out1.txt")) &&
               doc.Save();
      },
      [](const Outcome& clean, const Outcome& faulty) {
        ExpectOneOf(faulty.files, "p.tvx", {faulty.before.at("p.tvx"), clean.files.at("p.tvx")});
      });
}
