// The line pass: directive recognition, line numbering, message limits,
// the in-memory entry point and behaviour at scale.
#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "Memory.h"
#include "PreProcesser.h"

using EngineTest::Case;
using EngineTest::CrLf;
using EngineTest::Lf;
using EngineTest::Warning;

namespace {

class LinePassTest : public EngineTest::Fixture {};

const char kExtra[] = "余分な文字があります.";

std::string Lines(const CPreProcesser& engine) {
  std::string text;
  for (int i = 0; i < engine.GetLines().GetSize(); ++i)
    text += std::string(engine.GetLines()[i].GetText()) + "|";
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

// Every allocation of the foundation failing in turn: the item either
// completes or is abandoned, and the same engine converts the next item
// exactly afterwards.
TEST_F(LinePassTest, AllocationFailuresLeaveTheEngineUsable) {
  Write("a.h", Lf({"#define Y 2", "a X"}));
  const std::string source =
      Lf({"#define X 1", "#include \"a.h\"", "b Y \"s\" X", "#undef X", "#undef Q"});
  const std::string expected =
      CrLf({"//#define X 1", "//#include \"a.h\" : Start", "//#define Y 2", "a /*X*/1",
            "//#include \"a.h\" : End", "b /*Y*/2 \"s\" /*X*/1", "//#undef X", "//#undef Q"});
  Write("src.txt", source);
  CPreProcesser engine;
  const int sweep = 200;
  int firstResult = -1;
  int lastResult = -1;
  for (int n = 0; n < sweep; ++n) {
    Core::Testing::FailAllocationAfter(n);
    const int result = engine.ConvertFile(PathString("src.txt"), PathString("out.txt"), 1);
    Core::Testing::FailAllocationAfter(-1);
    if (n == 0) firstResult = result;
    if (n == sweep - 1) lastResult = result;
    ASSERT_EQ(engine.ConvertFile(PathString("src.txt"), PathString("out.txt"), 1), 1) << n;
    ASSERT_EQ(Read("out.txt"), expected) << n;
  }
  EXPECT_EQ(firstResult, 0);
  EXPECT_EQ(lastResult, 1);  // the sweep went past the item's last allocation
}
