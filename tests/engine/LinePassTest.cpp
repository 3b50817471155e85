// The line pass: directive recognition, line numbering, message limits,
// the in-memory entry point and behaviour at scale.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/engine/EngineTestSupport.h"
#include "foundation/Memory.h"
#include "engine/PreProcesser.h"

using EngineTest::Case;
using EngineTest::CrLf;
using EngineTest::Lf;
using EngineTest::Warning;

namespace {

class LinePassTest : public EngineTest::Fixture {};

const char kExtra[] = "余分な文字があります.";

// The output's lines, each followed by "|".
std::string Lines(const CPreProcesser& engine) {
  std::string text(engine.GetOutput().GetText(), engine.GetOutput().GetLength());
  for (std::size_t end; (end = text.find("\r\n")) != std::string::npos;) text.replace(end, 2, "|");
  return text;
}

}  // namespace

TEST_F(LinePassTest, FirstTokenDecidesWhatIsADirective) {
  const std::string x = "#define X 1\n";
  const Case cases[] = {
      {"blanks may precede the number sign", Lf({" \t #define X 1", "X"}), CrLf({"1"}), "", 0},
      {"a blank after the number sign makes text", x + Lf({"# define X 2", "X"}),
       CrLf({"# define 1 2", "1"}), "", 0},
      {"keywords are case-sensitive", x + Lf({"#DEFINE X 2", "X"}), CrLf({"#DEFINE 1 2", "1"}), "",
       0},
      {"the keyword must end the token", x + Lf({"#defineX 2", "#endif//x", "X"}),
       CrLf({"#defineX 2", "#endif//x", "1"}), "", 0},
      {"a keyword cut short or run on is text",
       x + Lf({"#", "#e", "#els X", "#elseX", "#undefX", "#ifdefX", "#includeX"}),
       CrLf({"#", "#e", "#els 1", "#elseX", "#undefX", "#ifdefX", "#includeX"}), "", 0},
      {"a form feed does not separate", x + Lf({"#define\fY 2", "Y"}), CrLf({"#define\fY 2", "Y"}),
       "", 0},
      {"unknown directives are text and expand",
       Lf({"#define once twice", "#define #pragma #p", "#pragma once", "#if once"}),
       CrLf({"#p twice", "#if twice"}), "", 0},
      {"an empty line stays whatever the disposition", Lf({"", "#define X 1", ""}), CrLf({"", ""}),
       "", 0},
      {"a line of blanks is a text line", Lf({"  "}), CrLf({"  "}), "", 0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(LinePassTest, LongLineMessagesKeepTheirEnding) {
  const std::string prefix = "WARNNING : Line 1:";
  const std::string ending = std::string("\r\n") + std::string(11, ' ') + kExtra + "\r\n";
  const std::string fits = "#undef X " + std::string(1023 - prefix.size() - ending.size() - 9, 'y');
  const std::string over = "#undef X " + std::string(5000, 'y');
  std::string wideLine = "#undef X  ";
  for (int i = 0; i < 1000; ++i) wideLine += "\x82\xa0";

  CPreProcesser engine;
  engine.ConvertText((fits + "\n").c_str(), fits.size() + 1, 0);
  const std::string exact = engine.GetMessages().GetText();
  // The first message is the undefined name; the second one follows it.
  ASSERT_EQ(exact.find(prefix + fits + ending), 0u);
  EXPECT_EQ((prefix + fits + ending).size(), 1023u);

  engine.ConvertText((over + "\n").c_str(), over.size() + 1, 0);
  std::string messages = engine.GetMessages().GetText();
  const std::string kept = over.substr(0, 1023 - prefix.size() - ending.size());
  ASSERT_EQ(messages.find(prefix + kept + ending), 0u);

  engine.ConvertText((wideLine + "\n").c_str(), wideLine.size() + 1, 0);
  messages = engine.GetMessages().GetText();
  const std::size_t room = 1023 - prefix.size() - ending.size();
  const std::size_t whole = 10 + (room - 10) / 2 * 2;  // no character is cut in two
  ASSERT_NE(whole, room);
  ASSERT_EQ(messages.find(prefix + wideLine.substr(0, whole) + ending), 0u);
}

TEST_F(LinePassTest, ConvertTextMatchesFileConversion) {
  const std::string source = Lf({"#define X 1", "a X", "#undef Y"});
  CPreProcesser engine;
  EXPECT_EQ(engine.ConvertText(source.data(), source.size(), 2), 1);
  EXPECT_EQ(Lines(engine), "//#define X 1|a 1/*X*/|//#undef Y|");
  EXPECT_EQ(std::string(engine.GetMessages().GetText()),
            Warning(3, "#undef Y", "Y 定義されていません.この行は無視されます."));
  const EngineTest::Outcome outcome = Convert(source, 2);
  EXPECT_EQ(outcome.output, CrLf({"//#define X 1", "a 1/*X*/", "//#undef Y"}));
  EXPECT_EQ(outcome.messages, engine.GetMessages().GetText());
}

TEST_F(LinePassTest, StoppedPassKeepsTheRestUnprocessed) {
  const std::string source = Lf({"#define X 1", "X", "#else x", "X", "#define Y 2"});
  CPreProcesser engine;
  EXPECT_EQ(engine.ConvertText(source.data(), source.size(), 0), 0);
  EXPECT_EQ(Lines(engine), "1|#else x|X|#define Y 2|");
}

TEST_F(LinePassTest, LargeItemsKeepExactLineNumbers) {
  // Many removed directive lines, many definitions, many included lines:
  // each would cost a shift of the whole list in an in-place pass.
  const int count = 200000;
  std::string header;
  for (int i = 0; i < count; ++i)
    header += "#define N" + std::to_string(i) + " " + std::to_string(i) + "\n";
  Write("defs.h", header);
  std::string source = "#include \"defs.h\"\n";
  for (int i = 0; i < count; ++i)
    source += "N" + std::to_string(i) + "\n#undef N" + std::to_string(i) + "\n";
  source += "#undef N0\n";
  const EngineTest::Outcome outcome = Convert(source, 0);
  ASSERT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.messages,
            Warning(count + 1, "#undef N0", "N0 定義されていません.この行は無視されます."));
  ASSERT_EQ(outcome.output.size(), [&] {
    std::size_t size = 0;
    for (int i = 0; i < count; ++i) size += std::to_string(i).size() + 2;
    return size;
  }());
  EXPECT_EQ(outcome.output.substr(outcome.output.size() - 8), "199999\r\n");
}

TEST_F(LinePassTest, MillionLinesConvert) {
  std::string source = "#define X 1\n";
  for (int i = 0; i < 1000000; ++i) source += "X\n";
  source += "#undef Z\n";
  const EngineTest::Outcome outcome = Convert(source, 1);
  ASSERT_EQ(outcome.result, 1);
  EXPECT_EQ(outcome.messages,
            Warning(1000002, "#undef Z", "Z 定義されていません.この行は無視されます."));
  EXPECT_EQ(outcome.output.size(), 15 + 1000000 * 8 + 12);
}

// The n-th allocation failing, for n = 0, 1, 2 ... until the item gets
// through: each failed run ends with the out-of-memory message, the old
// destination is in place or in its backup, and a fresh engine converts
// the item exactly right afterwards.
TEST_F(LinePassTest, EachAllocationFailureEndsTheItemCleanly) {
  Write("a.h", Lf({"#define Y 2", "a X"}));
  const std::string source =
      Lf({"#define X 1", "#include \"a.h\"", "b Y \"s\" X", "#undef X", "#undef Q"});
  const std::string expected =
      CrLf({"//#define X 1", "//#include \"a.h\" : Start", "//#define Y 2", "a /*X*/1",
            "//#include \"a.h\" : End", "b /*Y*/2 \"s\" /*X*/1", "//#undef X", "//#undef Q"});
  const std::string outOfMemory =
      "ERROR   : '" + Path("src.txt") + "' の変換中にメモリが不足しました.\r\n";
  Write("src.txt", source);
  const Core::CString sourcePath = PathString("src.txt");
  const Core::CString destinationPath = PathString("out.txt");
  int n = 0;
  for (;; ++n) {
    ASSERT_LT(n, 10000) << "the item never got through";
    Write("out.txt", "previous\n");
    std::filesystem::remove(Path("out.txt.bak"));
    CPreProcesser engine;
    Core::Testing::FailAllocationAfter(n);
    const int result = engine.ConvertFile(sourcePath, destinationPath, 1);
    Core::Testing::FailAllocationAfter(-1);
    const std::string messages = engine.GetMessages().GetText();
    if (Read("out.txt") != "previous\n") {
      ASSERT_EQ(Read("out.txt.bak"), "previous\n") << n;
    }
    if (result) break;
    ASSERT_GE(messages.size(), outOfMemory.size()) << n << messages;
    ASSERT_EQ(messages.substr(messages.size() - outOfMemory.size()), outOfMemory) << n;
    ASSERT_EQ(CPreProcesser().ConvertFile(sourcePath, destinationPath, 1), 1) << n;
    ASSERT_EQ(Read("out.txt"), expected) << n;
  }
  EXPECT_GT(n, 3);  // the item does allocate, and each of those failed once
  EXPECT_EQ(Read("out.txt"), expected);
}
