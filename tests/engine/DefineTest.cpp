// #define and #undef: names, values, their warnings, and the macro table.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/EngineTestSupport.h"
#include "engine/MacroTable.h"

using EngineTest::Case;
using EngineTest::CrLf;
using EngineTest::Lf;
using EngineTest::Warning;

namespace {

class DefineTest : public EngineTest::Fixture {};

const char kNoName[] = " の後にキーワードを指定してください.この行は無視されます.";
const char kExtra[] = "余分な文字があります.";
const char kUndefined[] = " 定義されていません.この行は無視されます.";

}  // namespace

TEST_F(DefineTest, DefineTakesNameAndValue) {
  const Case cases[] = {
      {"a name alone has an empty value", Lf({"#define X", "a X b"}), CrLf({"a  b"}), "", 0},
      {"outer blanks are trimmed, inner ones kept", Lf({" \t#define \t X \t a  \t b \t ", "[X]"}),
       CrLf({"[a  \t b]"}), "", 0},
      {"a trailing comment is part of the value", Lf({"#define X 1 // one", "X;"}),
       CrLf({"1 // one;"}), "", 0},
      {"a redefinition replaces the value silently",
       Lf({"X", "#define X 1", "X", "#define X 2", "X"}), CrLf({"X", "1", "2"}), "", 0},
      {"the value starts after the name even when the name is in the keyword",
       Lf({"#define e 1", "#define def 2", "e def"}), CrLf({"1 2"}), "", 0},
      {"names are case-sensitive", Lf({"#define abc 1", "ABC abc"}), CrLf({"ABC 1"}), "", 0},
      {"a name with a delimiter never matches a word", Lf({"#define A(x) x", "A(x) A"}),
       CrLf({"A(x) A"}), "", 0},
      {"a full-width space stays in the value", Lf({"#define X a\x81\x40", "X"}),
       CrLf({"a\x81\x40"}), "", 0},
      {"the keyword alone warns", Lf({"#define", "#define \t "}),
       CrLf({"//#define", "//#define \t "}),
       Warning(1, "#define", std::string("#define") + kNoName) +
           Warning(2, "#define \t ", std::string("#define") + kNoName)},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(DefineTest, UndefRemovesOrWarns) {
  const Case cases[] = {
      {"undef removes the name", Lf({"#define X 1", "X", "#undef X", "X"}), CrLf({"1", "X"}), "",
       0},
      {"an undefined name warns", Lf({"#undef X"}), CrLf({"//#undef X"}),
       Warning(1, "#undef X", std::string("X") + kUndefined)},
      {"extra text warns and still removes", Lf({"#define X 1", "#undef X Y", "X"}),
       CrLf({"//#define X 1", "//#undef X Y", "X"}), Warning(2, "#undef X Y", kExtra)},
      {"a comment after the name is extra text too", Lf({"#define X 1", "#undef X // gone", "X"}),
       CrLf({"//#define X 1", "//#undef X // gone", "X"}), Warning(2, "#undef X // gone", kExtra)},
      {"the keyword alone warns", Lf({"  #undef "}), CrLf({"//  #undef "}),
       Warning(1, "  #undef ", std::string("#undef") + kNoName)},
      {"removed lines shift the line numbers", Lf({"#define X 1", "#define Y 2", "#undef Z"}), "",
       Warning(1, "#undef Z", std::string("Z") + kUndefined), 0},
      {"kept lines do not", Lf({"#define X 1", "#define Y 2", "#undef Z"}),
       CrLf({"//#define X 1", "//#define Y 2", "//#undef Z"}),
       Warning(3, "#undef Z", std::string("Z") + kUndefined), 1},
      {"a UTF-8 line is quoted in code page 932, the destination is not converted",
       Lf({"#undef \xe5\x80\xa4\xf0\x9f\x98\x80"}), CrLf({"//#undef \xe5\x80\xa4\xf0\x9f\x98\x80"}),
       Warning(1, "#undef \x92\x6c?", std::string("\x92\x6c?") + kUndefined), 1, kSourceUtf8},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(DefineTest, DefinitionsDoNotCarryToTheNextItem) {
  EXPECT_EQ(Convert(Lf({"#define X 1", "X"}), 0).output, CrLf({"1"}));
  EXPECT_EQ(Convert(Lf({"X"}), 0).output, CrLf({"X"}));
}

namespace {

bool Define(CMacroTable& table, const std::string& name, const std::string& value) {
  return table.Define(name.data(), name.size(), value.data(), value.size());
}

bool Undefine(CMacroTable& table, const std::string& name) {
  return table.Undefine(name.data(), name.size());
}

// The name's value, or "(undefined)".
std::string Lookup(const CMacroTable& table, const std::string& name) {
  CMacroTable::Value value;
  if (!table.Find(name.data(), name.size(), &value)) return "(undefined)";
  return std::string(value.text, value.length);
}

}  // namespace

TEST(MacroTableTest, RedefinesRemovesAndDefinesAgain) {
  CMacroTable table;
  ASSERT_TRUE(Define(table, "A", "1"));
  ASSERT_TRUE(Define(table, "X", "2"));
  ASSERT_TRUE(Define(table, "B", "3"));
  ASSERT_TRUE(Define(table, "A", "4"));
  EXPECT_EQ(table.GetCount(), 3);
  EXPECT_EQ(Lookup(table, "A") + Lookup(table, "X") + Lookup(table, "B"), "423");
  EXPECT_TRUE(Undefine(table, "X"));
  EXPECT_FALSE(Undefine(table, "X"));
  EXPECT_EQ(table.GetCount(), 2);
  EXPECT_EQ(Lookup(table, "X"), "(undefined)");
  EXPECT_EQ(Lookup(table, "A") + Lookup(table, "B"), "43");
  ASSERT_TRUE(Define(table, "X", ""));
  EXPECT_EQ(Lookup(table, "X"), "");
  EXPECT_EQ(Lookup(table, "x"), "(undefined)");
  EXPECT_EQ(table.GetCount(), 3);
}

// Values grow, shrink and move while names come and go; the text block is
// compacted underneath and every lookup still finds its own value.
TEST(MacroTableTest, LookupsSurviveGrowthAndCompaction) {
  CMacroTable table;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 1000; ++i) {
      const std::string value =
          std::string(static_cast<std::size_t>(round * 50 + i % 7), 'v') + std::to_string(i);
      ASSERT_TRUE(Define(table, "N" + std::to_string(i), value));
    }
  }
  for (int i = 0; i < 1000; ++i) {
    if (i % 10 != 0) {
      ASSERT_TRUE(Undefine(table, "N" + std::to_string(i)));
    }
  }
  EXPECT_EQ(table.GetCount(), 100);
  for (int i = 0; i < 1000; ++i) {
    const std::string name = "N" + std::to_string(i);
    CMacroTable::Value value;
    if (i % 10 == 0) {
      ASSERT_TRUE(table.Find(name.c_str(), name.size(), &value)) << name;
      EXPECT_EQ(std::string(value.text, value.length),
                std::string(static_cast<std::size_t>(100 + i % 7), 'v') + std::to_string(i));
    } else {
      EXPECT_FALSE(table.Find(name.c_str(), name.size(), &value)) << name;
    }
  }
}

// Names of every length class the hash and the comparison read
// differently, with values that move them from their slot to a record and
// back: each is found with its latest value, and a name differing from it
// in any one byte is not.
TEST(MacroTableTest, NamesOfEveryLengthKeepTheirValues) {
  const std::size_t nameLengths[] = {1, 2, 3, 4, 7, 8, 9, 16, 17, 21, 22, 23, 40};
  const std::size_t valueLengths[] = {0, 1, 5, 21, 22, 60, 3, 0};
  for (const std::size_t nameLength : nameLengths) {
    CMacroTable table;
    std::string name;
    for (std::size_t i = 0; i < nameLength; ++i) name += static_cast<char>('a' + i % 26);
    ASSERT_TRUE(Define(table, "other", "o"));
    for (const std::size_t valueLength : valueLengths) {
      const std::string value(valueLength, static_cast<char>('0' + valueLength % 10));
      ASSERT_TRUE(Define(table, name, value));
      CMacroTable::Value found;
      ASSERT_TRUE(table.Find(name.data(), name.size(), &found)) << nameLength << " " << valueLength;
      EXPECT_EQ(std::string(found.text, found.length), value) << nameLength << " " << valueLength;
      for (std::size_t i = 0; i < nameLength; ++i) {
        std::string near = name;
        near[i] = 'Z';
        EXPECT_FALSE(table.Find(near.data(), near.size(), &found)) << near;
      }
    }
    EXPECT_EQ(table.GetCount(), 2);
    EXPECT_TRUE(Undefine(table, name));
    EXPECT_EQ(Lookup(table, name), "(undefined)");
    EXPECT_EQ(Lookup(table, "other"), "o");
    EXPECT_EQ(table.GetCount(), 1);
  }
}
