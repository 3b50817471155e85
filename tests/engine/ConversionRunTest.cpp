// The conversion run: the log texts, one call per text, and the items'
// paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/CheckRun.h"
#include "engine/ConversionRun.h"
#include "foundation/SourceEncoding.h"
#include "tests/engine/EngineTestSupport.h"
#include "foundation/File.h"
#include "foundation/Memory.h"

using EngineTest::CrLf;
using EngineTest::Lf;

namespace {

class RecordingLog : public ILogSink {
 public:
  void AppendLog(const Core::CString& text) override { calls.push_back(text.GetText()); }
  std::vector<std::string> calls;
};

class RecordingCheck : public ICheckSink {
 public:
  void ReportItem(const CItem&, CheckResult result, const Core::CString& messages) override {
    results.push_back(result);
    texts.push_back(messages.GetText());
  }
  std::vector<CheckResult> results;
  std::vector<std::string> texts;
};

class ConversionRunTest : public EngineTest::Fixture {
 protected:
  void AddItem(const std::string& source, const std::string& destination) {
    ASSERT_TRUE(m_items.Add(CItem(source.c_str(), destination.c_str())));
    ASSERT_TRUE(m_indices.Add(m_items.GetSize() - 1));
  }

  Core::CArray<CItem> m_items;
  Core::CArray<int> m_indices;
  ConversionSettings m_settings;
  RecordingLog m_log;
  RecordingCheck m_check;
};

const char kStart[] = "変換処理中...\r\n";
const char kDone[] = "    変換が完了しました.\r\n";
const char kAborted[] = "    変換を中止しました.\r\n";

}  // namespace

TEST_F(ConversionRunTest, FailedMiddleItemDoesNotEndTheRun) {
  Write("a.txt", Lf({"#undef Q", "a"}));
  Write("b.txt", Lf({"#endif"}));
  Write("c.txt", Lf({"c"}));
  AddItem(Path("a.txt"), Path("a.out"));
  AddItem(Path("b.txt"), Path("b.out"));
  AddItem(Path("c.txt"), Path("c.out"));
  m_settings.disposition = 0;
  EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 1);
  const std::vector<std::string> expected = {
      kStart,
      Path("a.txt") + "  →  " + Path("a.out") + "\r\n",
      EngineTest::Warning(1, "#undef Q", "Q 定義されていません.この行は無視されます."),
      kDone,
      Path("b.txt") + "  →  " + Path("b.out") + "\r\n",
      EngineTest::Error(1, "#endif", "対応した#ifdef or #ifndefがありません."),
      kAborted,
      Path("c.txt") + "  →  " + Path("c.out") + "\r\n",
      kDone,
      "\r\n",
  };
  EXPECT_EQ(m_log.calls, expected);
  EXPECT_EQ(Read("a.out"), CrLf({"a"}));
  EXPECT_EQ(Read("b.out"), "<missing>");
  EXPECT_EQ(Read("c.out"), CrLf({"c"}));
}

TEST_F(ConversionRunTest, SourceEncodingReachesEveryItem) {
  Write("a.txt", Lf({"#define X 1", "\"\xe3\x81\x82\" X", "#undef \xe5\x80\xa4"}));
  AddItem(Path("a.txt"), Path("a.out"));
  AddItem(Path("a.txt"), Path("b.out"));
  m_settings.disposition = 0;
  m_settings.sourceCodePage = kSourceUtf8;
  EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 0);
  const std::string warning = EngineTest::Warning(
      2, "#undef \x92\x6c", "\x92\x6c 定義されていません.この行は無視されます.");
  const std::vector<std::string> expected = {
      kStart,
      Path("a.txt") + "  →  " + Path("a.out") + "\r\n",
      warning,
      kDone,
      Path("a.txt") + "  →  " + Path("b.out") + "\r\n",
      warning,
      kDone,
      "\r\n",
  };
  EXPECT_EQ(m_log.calls, expected);
  EXPECT_EQ(Read("a.out"), CrLf({"\"\xe3\x81\x82\" 1"}));
  EXPECT_EQ(Read("b.out"), CrLf({"\"\xe3\x81\x82\" 1"}));
  // The check reads the sources in the same encoding.
  EXPECT_EQ(CheckItems(m_items, m_indices, m_settings, m_check), 0);
}

TEST_F(ConversionRunTest, EmptyListLogsOnlyTheFrame) {
  EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 0);
  EXPECT_EQ(m_log.calls, (std::vector<std::string>{kStart, "\r\n"}));
  // The log is Shift-JIS, whatever the encoding of the sources.
  EXPECT_EQ(m_log.calls[0], "\x95\xcf\x8a\xb7\x8f\x88\x97\x9d\x92\x86...\r\n");
}

TEST_F(ConversionRunTest, MissingSourceIsLoggedAndAbandoned) {
  AddItem(Path("none.txt"), Path("out.txt"));
  EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 1);
  const std::vector<std::string> expected = {
      kStart, Path("none.txt") + "  →  " + Path("out.txt") + "\r\n",
      "ERROR   : '" + Path("none.txt") + "' のOPENに失敗しました.\r\n", kAborted, "\r\n"};
  EXPECT_EQ(m_log.calls, expected);
}

TEST_F(ConversionRunTest, IndicesChooseItemsAndOrder) {
  Write("a.txt", "a\n");
  Write("b.txt", "b\n");
  Write("b.out", "previous\n");
  AddItem(Path("a.txt"), Path("a.out"));
  AddItem(Path("b.txt"), Path("b.out"));
  m_indices.SetSize(0);
  m_indices.Add(1);
  m_indices.Add(7);  // no such item
  m_indices.Add(1);
  EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 0);
  const std::string pathLine = Path("b.txt") + "  →  " + Path("b.out") + "\r\n";
  EXPECT_EQ(m_log.calls,
            (std::vector<std::string>{kStart, pathLine, kDone, pathLine, kDone, "\r\n"}));
  EXPECT_EQ(Read("a.out"), "<missing>");
  EXPECT_EQ(Read("b.out"), "b\r\n");
  // Converted twice in one run, backed up once: the backup keeps what was
  // there before the run.
  EXPECT_EQ(Read("b.out.bak"), "previous\n");
}

TEST_F(ConversionRunTest, EmptySourceCompletesWithEmptyDestination) {
  Write("e.txt", "");
  AddItem(Path("e.txt"), Path("e.out"));
  EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 0);
  EXPECT_EQ(m_log.calls.size(), 4u);
  EXPECT_EQ(m_log.calls[2], kDone);
  EXPECT_EQ(Read("e.out"), "");
}

// Relative item paths are resolved against the project directory, while the
// log shows them as stored.
TEST_F(ConversionRunTest, RelativePathsResolveAgainstTheProject) {
  Write("r.txt", "r\n");
  const std::string here = std::string(".") + TestSupport::kSeparator;
  AddItem(here + "r.txt", here + "r.out");
  m_settings.directory = (m_dir.Dir() + TestSupport::kSeparator).c_str();
  m_settings.pathMode = 1;
  EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 0);
  EXPECT_EQ(m_log.calls[1], here + "r.txt  →  " + here + "r.out\r\n");
  EXPECT_EQ(Read("r.out"), "r\r\n");
}

// With absolute path mode a relative source is taken from the directory the
// previous item left current, and a relative destination beside its source.
TEST_F(ConversionRunTest, AbsoluteModeUsesTheCurrentDirectoryOfThePreviousItem) {
  Write("first.txt", "1\n");
  Write("second.txt", "2\n");
  AddItem(Path("first.txt"), "first.out");
  AddItem("second.txt", "second.out");
  EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 0);
  EXPECT_EQ(Read("first.out"), "1\r\n");
  EXPECT_EQ(Read("second.out"), "2\r\n");
}

// One item converted three times in one run: whichever allocation fails,
// the destination's content from before the run stays in the destination
// or its backup (a failed look-up must not pass the written file for a
// user's and back it up over the backup).
TEST_F(ConversionRunTest, AFailedAllocationNeverCostsTheOldDestination) {
  Write("a.txt", Lf({"#define X 1", "X"}));
  AddItem(Path("a.txt"), Path("a.out"));
  ASSERT_TRUE(m_indices.Add(0));
  ASSERT_TRUE(m_indices.Add(0));
  for (int n = 0;; ++n) {
    ASSERT_LT(n, 10000) << "the run never got through";
    Write("a.out", "previous\n");
    std::filesystem::remove(Path("a.out.bak"));
    m_log.calls.clear();
    Core::Testing::FailAllocationAfter(n);
    const int abandoned = ConvertItems(m_items, m_indices, m_settings, m_log);
    const bool failed = !Core::Testing::AllocationFailurePending();
    Core::Testing::FailAllocationAfter(-1);
    if (Read("a.out") != "previous\n") {
      ASSERT_EQ(Read("a.out.bak"), "previous\n") << n;
    }
    if (!failed) {
      EXPECT_EQ(abandoned, 0);
      break;
    }
  }
}

// Checking converts as the run does and compares byte for byte, and leaves
// every file as it was.
TEST_F(ConversionRunTest, CheckComparesWithoutWritingAnything) {
  struct Row {
    const char* name;
    std::string source;
    const char* destination;  // nullptr: none; "<dir>": a directory; "<held>": held open
    CheckResult result;
    std::string messages;
  };
  const Row rows[] = {
      {"same bytes", Lf({"#define X 1", "X"}), "1\r\n", CheckResult::kUpToDate, ""},
      {"empty source, empty destination", "", "", CheckResult::kUpToDate, ""},
      {"warnings are not reported", Lf({"#undef Q", "a"}), "a\r\n", CheckResult::kUpToDate, ""},
      {"one byte differs", Lf({"#define X 1", "X"}), "2\r\n", CheckResult::kStale, ""},
      {"destination longer", Lf({"a"}), "a\r\n\r\n", CheckResult::kStale, ""},
      {"destination shorter", Lf({"a"}), "a\r", CheckResult::kStale, ""},
      {"LF for CR LF", Lf({"a"}), "a\n", CheckResult::kStale, ""},
      {"destination empty", Lf({"a"}), "", CheckResult::kStale, ""},
      {"no destination", Lf({"a"}), nullptr, CheckResult::kMissing, ""},
      {"a directory", Lf({"a"}), "<dir>", CheckResult::kNotAFile, ""},
      {"held open elsewhere", Lf({"a"}), "<held>", CheckResult::kUnreadable, ""},
      {"failing item", Lf({"#endif"}), "#endif\r\n", CheckResult::kFailed,
       EngineTest::Error(1, "#endif", "対応した#ifdef or #ifndefがありません.")},
  };
  m_settings.disposition = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    m_items.SetSize(0);
    m_indices.SetSize(0);
    m_check = RecordingCheck();
    std::filesystem::remove_all(Path("out"));
    Write("src", row.source);
    const std::string destination = row.destination ? row.destination : "";
    Core::CFile holder;
    if (destination == "<dir>") {
      std::filesystem::create_directory(Path("out"));
    } else if (destination == "<held>") {
      Write("out", "a\r\n");
      ASSERT_TRUE(holder.Open(PathString("out"), false, false));
    } else if (row.destination) {
      Write("out", destination);
    }
    AddItem(Path("src"), Path("out"));
    const std::string before = TestSupport::Listing(m_dir.Dir());
    EXPECT_EQ(CheckItems(m_items, m_indices, m_settings, m_check),
              row.result == CheckResult::kUpToDate ? 0 : 1);
    EXPECT_EQ(m_check.results, std::vector<CheckResult>{row.result});
    EXPECT_EQ(m_check.texts, std::vector<std::string>{row.messages});
    EXPECT_EQ(TestSupport::Listing(m_dir.Dir()), before);
  }
}

// A destination naming the source can never be converted, so it is never
// up to date, though its bytes may be the converted text.
TEST_F(ConversionRunTest, CheckFailsADestinationThatIsTheSource) {
  Write("same.txt", "a\r\n");
  AddItem(Path("same.txt"), Path("same.txt"));
  EXPECT_EQ(CheckItems(m_items, m_indices, m_settings, m_check), 1);
  EXPECT_EQ(m_check.results, std::vector<CheckResult>{CheckResult::kFailed});
  EXPECT_EQ(m_check.texts[0],
            "ERROR   : '" + Path("same.txt") + "' は変換元と同じファイルのため作成できません.\r\n");
}

// What a run just wrote checks as up to date, relative destinations and
// sources taken where the run took them, and the check writes nothing.
TEST_F(ConversionRunTest, CheckFindsWhatTheRunWroteUpToDate) {
  std::filesystem::create_directory(Path("sub"));
  Write("first.txt", Lf({"#define X 1", "X"}));
  Write("sub" + std::string(1, TestSupport::kSeparator) + "second.txt", Lf({"X", "\xef\xbb\xbfy"}));
  Write("sub" + std::string(1, TestSupport::kSeparator) + "third.txt",
        "\xef\xbb\xbf#define Y 2\nY\n");
  AddItem(Path("first.txt"), "first.out");
  AddItem(Path("sub") + TestSupport::kSeparator + "second.txt", "second.out");
  AddItem("third.txt", "third.out");
  for (const int disposition : {0, 1, 2}) {
    SCOPED_TRACE(disposition);
    m_settings.disposition = disposition;
    ASSERT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), 0);
    const std::string before = TestSupport::Listing(m_dir.Dir());
    m_check = RecordingCheck();
    EXPECT_EQ(CheckItems(m_items, m_indices, m_settings, m_check), 0);
    EXPECT_EQ(m_check.results, std::vector<CheckResult>(3, CheckResult::kUpToDate));
    EXPECT_EQ(TestSupport::Listing(m_dir.Dir()), before);
  }
}

// Whichever allocation fails, the item is reported failed with the
// out-of-memory message or checked in full: a cut or emptied text never
// passes for an up-to-date one, and nothing is written.
TEST_F(ConversionRunTest, CheckNeverPassesAnItemWhoseConversionRanOutOfMemory) {
  Write("a.txt", Lf({"#define X 1", "X"}));
  Write("a.out", "");
  AddItem(Path("a.txt"), Path("a.out"));
  const std::string before = TestSupport::Listing(m_dir.Dir());
  for (int n = 0;; ++n) {
    ASSERT_LT(n, 10000) << "the check never got through";
    m_check = RecordingCheck();
    Core::Testing::FailAllocationAfter(n);
    const int notUpToDate = CheckItems(m_items, m_indices, m_settings, m_check);
    const bool failed = !Core::Testing::AllocationFailurePending();
    Core::Testing::FailAllocationAfter(-1);
    EXPECT_EQ(notUpToDate, 1) << n;
    ASSERT_EQ(m_check.results.size(), 1u) << n;
    EXPECT_EQ(TestSupport::Listing(m_dir.Dir()), before) << n;
    if (!failed) {
      EXPECT_EQ(m_check.results[0], CheckResult::kStale);
      break;
    }
    if (m_check.results[0] != CheckResult::kStale) {
      EXPECT_EQ(m_check.results[0], CheckResult::kFailed) << n;
      EXPECT_EQ(m_check.texts[0],
                "ERROR   : '" + Path("a.txt") + "' の変換中にメモリが不足しました.\r\n")
          << n;
    }
  }
}

// Only a destination whose bytes change is written: an unchanged one keeps
// its bytes, time and backup, and no temporary is left; the rest is
// written and backed up as a plain run does it.
TEST_F(ConversionRunTest, OnlyChangedLeavesUpToDateDestinationsAlone) {
  // Several output pieces: compared piece by piece, and copied back from
  // the destination when the last one differs.
  std::string large;
  std::string largeOut;
  for (int i = 0; large.size() < 3 * 1024 * 1024; ++i) {
    const std::string line = "line " + std::to_string(i) + " of a large source";
    large += line + "\n";
    largeOut += line + "\r\n";
  }
  std::string largeChanged = largeOut;
  largeChanged[largeChanged.size() - 3] ^= 1;
  struct Row {
    const char* name;
    std::string source;
    const char* destination;  // nullptr: none
    const char* done;         // the item's last log line
    std::string after;        // the destination afterwards ("<missing>": gone)
    std::string backup;       // its backup afterwards
  };
  const char kUnchanged[] = "    変更はありません.\r\n";
  const Row rows[] = {
      {"same bytes", Lf({"#define X 1", "X"}), "1\r\n", kUnchanged, "1\r\n", "older"},
      {"differs", Lf({"b"}), "a\r\n", kDone, "b\r\n", "a\r\n"},
      {"destination longer", Lf({"a"}), "a\r\nb\r\n", kDone, "a\r\n", "a\r\nb\r\n"},
      {"destination a prefix", Lf({"a", "b"}), "a\r\n", kDone, "a\r\nb\r\n", "a\r\n"},
      {"empty, both", "", "", kUnchanged, "", "older"},
      {"missing", Lf({"a"}), nullptr, kDone, "a\r\n", "older"},
      {"failing item", Lf({"#endif"}), "a\r\n", kAborted, "<missing>", "a\r\n"},
      // The destination is let go of to be read; written, as a plain run does.
      {"includes its destination", Lf({"#include \"out\""}), "x\r\n", kDone, "x\r\n", "x\r\n"},
      {"large, same", large, largeOut.c_str(), kUnchanged, largeOut, "older"},
      {"large, last piece differs", large, largeChanged.c_str(), kDone, largeOut, largeChanged},
  };
  m_settings.disposition = 0;
  m_settings.onlyChanged = true;
  AddItem(Path("src"), Path("out"));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    m_log.calls.clear();
    Write("src", row.source);
    std::filesystem::remove(Path("out"));
    if (row.destination) Write("out", row.destination);
    Write("out.bak", "older");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    if (row.destination) std::filesystem::last_write_time(Path("out"), old);
    const std::string before = TestSupport::Listing(m_dir.Dir());
    EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log), row.done == kAborted ? 1 : 0);
    ASSERT_GE(m_log.calls.size(), 3u);
    EXPECT_EQ(m_log.calls[m_log.calls.size() - 2], row.done);
    EXPECT_EQ(Read("out"), row.after);
    EXPECT_EQ(Read("out.bak"), row.backup);
    if (row.done == kUnchanged) {
      EXPECT_EQ(TestSupport::Listing(m_dir.Dir()), before);
    } else {
      for (const auto& entry : std::filesystem::directory_iterator(m_dir.Dir())) {
        EXPECT_EQ(entry.path().filename().string().find(".tovi-"), std::string::npos);
      }
    }
  }
}

class RecordingObserver : public IItemObserver {
 public:
  void ItemConverted(int index, const Core::CString& destination, bool completed,
                     const Core::CArray<Core::CString>& inputs,
                     const Core::CArray<Core::FileLook>& looks) override {
    std::string heard =
        std::to_string(index) + " " + destination.GetText() + (completed ? " done:" : " failed:");
    for (int i = 0; i < inputs.GetSize(); ++i) heard += std::string(" ") + inputs[i].GetText();
    items.push_back(heard);
    std::string states;
    for (int i = 0; i < looks.GetSize(); ++i) {
      states += looks[i].state == Core::PathState::kPresent   ? '+'
                : looks[i].state == Core::PathState::kMissing ? '-'
                                                              : '?';
    }
    seen.push_back(states);
  }
  std::vector<std::string> items;
  std::vector<std::string> seen;  // each input's look: + present, - missing
};

// Each item reports the files it read, absolute: the source, then each
// included file once (one that could not be found too, where it was looked
// for), whether it completed or not.
TEST_F(ConversionRunTest, ObserverHearsEveryFileEachItemRead) {
  const std::string sep(1, TestSupport::kSeparator);
  std::filesystem::create_directory(Path("sub"));
  Write("a.c", Lf({"#include \"h.h\"", "#include \"sub/s.h\"", "#include \"h.h\""}));
  Write("h.h", "h\n");
  Write("sub" + sep + "s.h", Lf({"#include \"h.h\""}));  // taken from the source's folder
  Write("b.c", Lf({"#include \"h.h\"", "#include \"none.h\""}));
  const std::string here = "." + sep;
  AddItem(here + "a.c", here + "a.out");
  AddItem(here + "b.c", here + "b.out");
  AddItem(here + "gone.c", here + "c.out");
  m_settings.directory = (m_dir.Dir() + sep).c_str();
  m_settings.pathMode = 1;
  for (const bool onlyChanged : {false, true}) {
    m_settings.onlyChanged = onlyChanged;
    m_settings.lookAtInputs = onlyChanged;  // as a watch converts
    RecordingObserver observer;
    EXPECT_EQ(ConvertItems(m_items, m_indices, m_settings, m_log, &observer), 2);
    const std::vector<std::string> seen = {"+++", "++-", "-"};
    EXPECT_EQ(observer.seen, onlyChanged ? seen : std::vector<std::string>(3));
    const std::vector<std::string> expected = {
        "0 " + Path("a.out") + " done: " + Path("a.c") + " " + Path("h.h") + " " +
            Path("sub" + sep + "s.h"),
        "1 " + Path("b.out") + " failed: " + Path("b.c") + " " + Path("h.h") + " " + Path("none.h"),
        "2 " + Path("c.out") + " failed: " + Path("gone.c"),
    };
    EXPECT_EQ(observer.items, expected);
  }
}
