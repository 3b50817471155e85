// #include: lookup, splicing, markers, errors, and cycles.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/engine/EngineTestSupport.h"
#include "engine/PreProcesser.h"
#include "foundation/FileSystem.h"

using EngineTest::Case;
using EngineTest::CrLf;
using EngineTest::Error;
using EngineTest::Lf;
using EngineTest::Warning;

namespace {

// Headers h0.h ... h<depth>.h, each but the last including the next one
// twice; the last holds one line "x".
std::string FanOutHeader(int header, int depth) {
  if (header == depth) return "x\n";
  const std::string next = "#include \"h" + std::to_string(header + 1) + ".h\"\n";
  return next + next;
}

class IncludeTest : public EngineTest::Fixture {
 protected:
  void WriteFanOut(int depth) {
    for (int i = 0; i <= depth; ++i) Write("h" + std::to_string(i) + ".h", FanOutHeader(i, depth));
  }

  std::string Cycle(int line, const std::string& text, const std::string& name) {
    return Error(line, text, "'" + name + "' のインクルードが循環しています.");
  }
};

const char kSyntax[] = "#include の後は\"\"で囲んでファイルを指定してください.";
const char kNotFound[] = "#include ファイルがが見つかりません.";
const char kTooMuch[] = "インクルードするファイルの合計が大きすぎます.";

// The first inclusion over the bound, when the source includes h0.h once:
// its header, and the lines "x" written before it.
struct Inclusion {
  int header = -1;
  int linesBefore = 0;
};

Inclusion FirstInclusionOverTheBound(int depth, std::uint64_t bound) {
  std::uint64_t total = 0;
  Inclusion found;
  int lines = 0;
  const auto visit = [&](const auto& self, int header) -> void {
    if (found.header >= 0) return;
    total += CPreProcesser::kInclusionCost + FanOutHeader(header, depth).size();
    if (total > bound) {
      found = {header, lines};
      return;
    }
    if (header == depth) {
      ++lines;
      return;
    }
    self(self, header + 1);
    self(self, header + 1);
  };
  visit(visit, 0);
  return found;
}

}  // namespace

TEST_F(IncludeTest, IncludedLinesAreProcessedInPlace) {
  Write("a.h", Lf({"#define Y 2", "a X"}));
  const std::string source = Lf({"#define X 1", "#include \"a.h\"", "b Y"});
  const Case cases[] = {
      {"removed directive, lines in its place", source, CrLf({"a 1", "b 2"}), "", 0},
      {"markers frame the included lines", source,
       CrLf({"//#define X 1", "//#include \"a.h\" : Start", "//#define Y 2", "a /*X*/1",
             "//#include \"a.h\" : End", "b /*Y*/2"}),
       "", 1},
      {"disposition 2 the same way", source,
       CrLf({"//#define X 1", "//#include \"a.h\" : Start", "//#define Y 2", "a 1/*X*/",
             "//#include \"a.h\" : End", "b 2/*Y*/"}),
       "", 2},
      {"indentation stays in the markers", Lf({" \t#include \"a.h\""}),
       CrLf({"// \t#include \"a.h\" : Start", "//#define Y 2", "a X",
             "// \t#include \"a.h\" : End"}),
       ""},
      {"text around the quotes is ignored", Lf({"#include x\"a.h\" y"}), CrLf({"a X"}), "", 0},
      {"no blank after the keyword is a text line", Lf({"#include\"a.h\""}),
       CrLf({"#include\"a.h\""}), ""},
      {"an include on the last line appends", Lf({"b", "#include \"a.h\""}), CrLf({"b", "a X"}), "",
       0},
      {"inclusion moves later line numbers", Lf({"#include \"a.h\"", "#undef Q"}),
       CrLf({"//#include \"a.h\" : Start", "//#define Y 2", "a X", "//#include \"a.h\" : End",
             "//#undef Q"}),
       Warning(5, "#undef Q", "Q 定義されていません.この行は無視されます.")},
      {"and with removal", Lf({"#include \"a.h\"", "#undef Q"}), CrLf({"a X"}),
       Warning(2, "#undef Q", "Q 定義されていません.この行は無視されます."), 0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(IncludeTest, StatesFlowThroughIncludedText) {
  Write("open.h", Lf({"#ifdef NOPE", "hidden"}));
  Write("string.h", Lf({"s = \"open"}));
  Write("empty.h", "");
  const Case cases[] = {
      {"a block opened inside closes outside", Lf({"#include \"open.h\"", "#endif", "X"}),
       CrLf({"//#include \"open.h\" : Start", "//#ifdef NOPE", "//hidden",
             "////#include \"open.h\" : End", "//#endif", "X"}),
       ""},
      {"a string left open continues after the file",
       Lf({"#include \"string.h\"", "#define Q\"", "Q"}), CrLf({"s = \"open", "#define Q\"", "Q"}),
       "", 0},
      {"an empty file gives adjacent markers", Lf({"#include \"empty.h\""}),
       CrLf({"//#include \"empty.h\" : Start", "//#include \"empty.h\" : End"}), ""},
      {"an empty file adds nothing", Lf({"a", "#include \"empty.h\"", "b"}), CrLf({"a", "b"}), "",
       0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(IncludeTest, EachFileIsReadInItsOwnEncoding) {
  const std::string mark = "\xef\xbb\xbf";
  const std::string utf8A = "\"\xe3\x81\x82\" X";  // its last byte leads in code page 932
  Write("u.h", mark + Lf({utf8A.c_str()}));
  Write("c.h", Lf({"\"\x95\x5c\" X"}));  // a trail byte 0x5C before the quote
  Write("w.h", mark + Lf({"#undef \xe5\x80\xa4"}));
  Write("plain.h", Lf({"found X"}));
  ASSERT_TRUE(Core::CopyFileReplacing(PathString("plain.h"), PathString("\x93\xfa.h")));
  const std::string undefined = " 定義されていません.この行は無視されます.";
  const Case cases[] = {
      {"a code page 932 item includes a file with the mark",
       Lf({"#define X 1", "#include \"u.h\"", "\"\x82\xa0\" X"}),
       CrLf({"\"\xe3\x81\x82\" 1", "\"\x82\xa0\" 1"}), "", 0},
      {"a marked item includes a code page 932 file",
       mark + Lf({"#define X 1", "#include \"c.h\"", utf8A.c_str()}),
       mark + CrLf({"\"\x95\x5c\" 1", "\"\xe3\x81\x82\" 1"}), "", 0},
      {"the mark of an included file is dropped", Lf({"#define X 1", "#include \"u.h\""}),
       CrLf({"//#define X 1", "//#include \"u.h\" : Start", "\"\xe3\x81\x82\" /*X*/1",
             "//#include \"u.h\" : End"}),
       "", 1, kSourceUtf8},
      {"a UTF-8 name names the file", Lf({"#define X 1", "#include \"\xe6\x97\xa5.h\""}),
       CrLf({"found 1"}), "", 0, kSourceUtf8},
      {"messages quote each file's line in code page 932",
       Lf({"#include \"w.h\"", "#undef \x95\x5c"}), "",
       Warning(1, "#undef \x92\x6c", "\x92\x6c" + undefined) +
           Warning(1, "#undef \x95\x5c", "\x95\x5c" + undefined),
       0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(IncludeTest, IncludedBytesFormLines) {
  Write("zero.h", std::string("ab\0cd\nef\0", 9));
  Write("block.h", std::string(1023, 'x') + "y");
  Write("crlf.h", "a\r\nb\r");
  const Case cases[] = {
      {"a NUL ends its line's text", Lf({"#include \"zero.h\""}), CrLf({"ab", "ef"}), "", 0},
      {"1024 bytes without LF keep the last line", Lf({"#include \"block.h\""}),
       CrLf({(std::string(1023, 'x') + "y").c_str()}), "", 0},
      {"CR is dropped and a missing LF supplied", Lf({"#include \"crlf.h\""}), CrLf({"a", "b"}), "",
       0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(IncludeTest, NamesAreLookedUpBesideTheSource) {
  std::filesystem::create_directory(Path("sub"));
  Write("sub/a.h", Lf({"#include \"b.h\""}));
  Write("sub/b.h", Lf({"wrong"}));
  Write("b.h", Lf({"right"}));
  EXPECT_EQ(Convert(Lf({"#include \"sub\\a.h\""}), 0).output, CrLf({"right"}));
}

TEST_F(IncludeTest, BadDirectivesStopTheItem) {
  std::filesystem::create_directory(Path("dir.h"));
  const Case cases[] = {
      {"angle brackets are not a form", Lf({"#include <a.h>"}), "<missing>",
       Error(1, "#include <a.h>", kSyntax)},
      {"one quote is not enough", Lf({"a", "#include \"a.h"}), "<missing>",
       Error(2, "#include \"a.h", kSyntax)},
      {"an empty name", Lf({"#include \"\""}), "<missing>", Error(1, "#include \"\"", kSyntax)},
      {"a missing file does not name it", Lf({"#include \"none.h\""}), "<missing>",
       Error(1, "#include \"none.h\"", kNotFound)},
      {"a directory cannot be opened", Lf({"#include \"dir.h\""}), "<missing>",
       Error(1, "#include \"dir.h\"", "'dir.h' のOPENに失敗しました.")},
      {"a quote hidden in a double-byte character does not count", Lf({"#include \x81\"a.h\""}),
       "<missing>", Error(1, "#include \x81\"a.h\"", kSyntax)},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(IncludeTest, CyclesStopTheItem) {
  Write("self.h", Lf({"x", "#include \"self.h\""}));
  Write("a.h", Lf({"#include \"b.h\""}));
  Write("b.h", Lf({"#include \".\\a.h\""}));
  Write("last.h", Lf({"#include \"tail.h\""}));
  Write("tail.h", Lf({"#include \"last.h\""}));
  const Case cases[] = {
      {"a file including itself", Lf({"#include \"self.h\""}), "<missing>",
       Cycle(3, "#include \"self.h\"", "self.h")},
      {"a file including itself, lines removed", Lf({"#include \"self.h\""}), "<missing>",
       Cycle(2, "#include \"self.h\"", "self.h"), 0},
      {"two files including each other under another spelling", Lf({"#include \"a.h\""}),
       "<missing>", Cycle(1, "#include \".\\a.h\"", ".\\a.h"), 0},
      {"an include as the last line still counts as open", Lf({"#include \"last.h\""}), "<missing>",
       Cycle(1, "#include \"last.h\"", "last.h"), 0},
      {"the source including itself", Lf({"#include \"src.txt\""}), "<missing>",
       Cycle(1, "#include \"src.txt\"", "src.txt"), 0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(IncludeTest, RepeatedInclusionIsNoCycle) {
  Write("a.h", Lf({"a"}));
  Write("b.h", Lf({"#include \"a.h\"", "#include \"a.h\""}));
  EXPECT_EQ(Convert(Lf({"#include \"b.h\"", "#include \"a.h\""}), 0).output, CrLf({"a", "a", "a"}));
}

TEST_F(IncludeTest, NestingIsBounded) {
  const int limit = CPreProcesser::kMaxIncludeDepth;
  for (int i = 0; i <= limit; ++i) {
    Write("f" + std::to_string(i) + ".h", "#include \"f" + std::to_string(i + 1) + ".h\"\n");
  }
  Write("f" + std::to_string(limit) + ".h", "deep\n");
  EXPECT_EQ(Convert(Lf({"#include \"f1.h\""}), 0).output, CrLf({"deep"}));
  const std::string line = "#include \"f" + std::to_string(limit) + ".h\"";
  const EngineTest::Outcome outcome = Convert(Lf({"#include \"f0.h\""}), 0);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.messages, Error(1, line, "インクルードのネストが深すぎます."));
}

// Headers that each include the next one twice multiply their inclusions
// without a cycle: forty of them, under 1 KB in all, would make 2^41 - 1.
// What the inclusions bring in is bounded; the bound is set low here so
// that a few inclusions reach it: the item stops at the first one over it,
// and a fan-out that stays under it converts.
TEST_F(IncludeTest, FanOutIsBounded) {
  const std::uint64_t bound = 100 * CPreProcesser::kInclusionCost;
  WriteFanOut(5);  // 62 inclusions
  CPreProcesser engine;
  engine.SetMaxIncludedBytes(bound);
  Write("src.txt", Lf({"#include \"h0.h\""}));
  EXPECT_EQ(engine.ConvertFile(PathString("src.txt"), PathString("out.txt"), 0), 1);
  std::string leaves;
  for (int i = 0; i < 32; ++i) leaves += "x\r\n";
  EXPECT_EQ(Read("out.txt"), leaves);

  WriteFanOut(40);
  const Inclusion stopping = FirstInclusionOverTheBound(40, bound);
  ASSERT_GE(stopping.header, 1);
  EXPECT_EQ(engine.ConvertFile(PathString("src.txt"), PathString("out2.txt"), 0), 0);
  EXPECT_FALSE(TestSupport::FileExists(Path("out2.txt")));
  EXPECT_EQ(std::string(engine.GetMessages().GetText()),
            Error(stopping.linesBefore + 1,
                  "#include \"h" + std::to_string(stopping.header) + ".h\"", kTooMuch));
}
