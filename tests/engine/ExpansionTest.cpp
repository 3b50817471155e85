// Word expansion and the output shapes of the three directive dispositions.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/EngineTestSupport.h"

using EngineTest::Case;
using EngineTest::CrLf;
using EngineTest::Lf;

namespace {

class ExpansionTest : public EngineTest::Fixture {};

const std::string kExample = Lf({"#define X 10", "#define Y", "a = X + Y;", "s = \"X\";"});

}  // namespace

TEST_F(ExpansionTest, DispositionsShapeTheOutput) {
  const Case cases[] = {
      {"0 removes directives and replaces names", kExample, CrLf({"a = 10 + ;", "s = \"X\";"}), "",
       0},
      {"1 keeps directives and puts the name first", kExample,
       CrLf({"//#define X 10", "//#define Y", "a = /*X*/10 + /*Y*/;", "s = \"X\";"}), "", 1},
      {"2 puts the name after the value", kExample,
       CrLf({"//#define X 10", "//#define Y", "a = 10/*X*/ + /*Y*/;", "s = \"X\";"}), "", 2},
      {"3 behaves as 2", kExample,
       CrLf({"//#define X 10", "//#define Y", "a = 10/*X*/ + /*Y*/;", "s = \"X\";"}), "", 3},
      {"a negative value behaves as 2", kExample,
       CrLf({"//#define X 10", "//#define Y", "a = 10/*X*/ + /*Y*/;", "s = \"X\";"}), "", -1},
      {"leading blanks of a directive follow the //", Lf({"  \t#define X 1"}),
       CrLf({"//  \t#define X 1"}), ""},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(ExpansionTest, ReplacementIsNotScannedAgain) {
  const Case cases[] = {
      {"a value naming another macro stays", Lf({"#define A B", "#define B 2", "A B"}),
       CrLf({"B 2"}), "", 0},
      {"a value naming itself appears once", Lf({"#define A A", "A"}), CrLf({"A"}), "", 0},
      {"a comment opener in a value opens nothing", Lf({"#define C /*", "#define X 1", "C X */ X"}),
       CrLf({"/* 1 */ 1"}), "", 0},
      {"a quote in a value opens nothing", Lf({"#define Q \"", "#define X 1", "Q X"}),
       CrLf({"\" 1"}), "", 0},
      {"a character literal is only separators", Lf({"#define X 1", "c = 'X';"}),
       CrLf({"c = '1';"}), "", 0},
      {"a redefinition applies from the next line", Lf({"#define X 1", "X", "#define X 2", "X"}),
       CrLf({"//#define X 1", "/*X*/1", "//#define X 2", "/*X*/2"}), "", 1},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(ExpansionTest, LongNamesKeepTheirCommentClosed) {
  const std::string name(1500, 'N');
  const Case cases[] = {
      {"name first", "#define " + name + " v\n" + name + "\n",
       "//#define " + name + " v\r\n/*" + name + "*/v\r\n", "", 1},
      {"name after", "#define " + name + " v\n" + name + "\n",
       "//#define " + name + " v\r\nv/*" + name + "*/\r\n", "", 2},
  };
  for (const Case& row : cases) Check(row);
}
