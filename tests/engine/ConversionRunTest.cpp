// The conversion run: the log texts, one call per text, and the items'
// paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/ConversionRun.h"
#include "engine/SourceEncoding.h"
#include "tests/engine/EngineTestSupport.h"
#include "foundation/Memory.h"

using EngineTest::CrLf;
using EngineTest::Lf;

namespace {

class RecordingLog : public ILogSink {
 public:
  void AppendLog(const Core::CString& text) override { calls.push_back(text.GetText()); }
  std::vector<std::string> calls;
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
