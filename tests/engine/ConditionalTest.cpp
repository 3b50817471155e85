// #ifdef, #ifndef, #else, #endif: one level of conditional state.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/EngineTestSupport.h"

using EngineTest::Case;
using EngineTest::CrLf;
using EngineTest::Error;
using EngineTest::Lf;
using EngineTest::Warning;

namespace {

class ConditionalTest : public EngineTest::Fixture {};

const char kExtra[] = "余分な文字があります.";
const char kUnmatched[] = "対応した#ifdef or #ifndefがありません.";

}  // namespace

TEST_F(ConditionalTest, BranchesAreKeptOrDropped) {
  const Case cases[] = {
      {"a defined name keeps the branch", Lf({"#define X 1", "#ifdef X", "a", "#endif", "b"}),
       CrLf({"a", "b"}), "", 0},
      {"an undefined name drops it", Lf({"#ifdef X", "a", "#endif", "b"}), CrLf({"b"}), "", 0},
      {"dropped lines stay behind // when directives are kept",
       Lf({"#ifdef X", "a", "#endif", "b"}), CrLf({"//#ifdef X", "//a", "//#endif", "b"}), "", 1},
      {"ifndef takes the else branch of a defined name",
       Lf({"#define X", "#ifndef X", "a", "#else", "b", "#endif"}), CrLf({"b"}), "", 0},
      {"each else flips the branch",
       Lf({"#define X", "#ifdef X", "a", "#else", "b", "#else", "c", "#endif"}), CrLf({"a", "c"}),
       "", 0},
      {"an inner ifdef replaces the outer condition",
       Lf({"#define A", "#ifdef A", "a", "#ifdef B", "b", "#endif", "c"}), CrLf({"a", "c"}), "", 0},
      {"the first endif closes nested blocks, the second stops",
       Lf({"#ifdef A", "#ifdef B", "#endif", "text", "#endif"}), "<missing>",
       Error(2, "#endif", kUnmatched), 0},
      {"the same with kept lines counts them",
       Lf({"#ifdef A", "#ifdef B", "#endif", "text", "#endif"}), "<missing>",
       Error(5, "#endif", kUnmatched), 1},
      {"a define in a dropped branch defines nothing",
       Lf({"#ifdef A", "#define X 1", "#endif", "X"}), CrLf({"X"}), "", 0},
      {"a quote in a dropped line opens nothing",
       Lf({"#define X 1", "#ifdef A", "\"", "/*", "#endif", "X"}), CrLf({"1"}), "", 0},
      {"empty lines in a dropped branch stay", Lf({"#ifdef A", "", "a", "", "#endif"}),
       CrLf({"", ""}), "", 0},
      {"a line of blanks in a dropped branch is dropped", Lf({"#ifdef A", "  ", "#endif"}),
       CrLf({"//#ifdef A", "//  ", "//#endif"}), "", 1},
      {"an item may end inside a dropped branch", Lf({"#ifdef A", "a"}),
       CrLf({"//#ifdef A", "//a"}), "", 1},
      {"an endif in a block comment does not close the block",
       Lf({"#define X", "#ifdef X", "/*", "#endif", "*/", "#else", "b", "#endif"}),
       CrLf({"/*", "#endif", "*/"}), "", 0},
      {"an active branch survives a string across lines",
       Lf({"#define X", "#ifdef X", "\"a", "b\"", "#else", "c", "#endif"}), CrLf({"\"a", "b\""}),
       "", 0},
      {"endif glued to a comment is text in an active branch",
       Lf({"#define X", "#ifdef X", "#endif// note", "#else", "b", "#endif"}),
       CrLf({"#endif// note"}), "", 0},
      {"endif glued to a comment is dropped in a skipped branch",
       Lf({"#ifdef X", "#endif// note", "a", "#endif", "b"}), CrLf({"b"}), "", 0},
  };
  for (const Case& row : cases) Check(row);
}

TEST_F(ConditionalTest, MalformedDirectivesWarnOrStop) {
  const Case cases[] = {
      {"else outside a block stops", Lf({"a", "#else"}), "<missing>",
       Error(2, "#else", kUnmatched)},
      {"endif outside a block stops", Lf({"#endif"}), "<missing>", Error(1, "#endif", kUnmatched)},
      {"ifdef without a name stops", Lf({"#ifdef "}), "<missing>",
       Error(1, "#ifdef ", "#ifdef の後に識別子が必要です.")},
      {"ifndef without a name stops", Lf({"\t#ifndef"}), "<missing>",
       Error(1, "\t#ifndef", "#ifndef の後に識別子が必要です.")},
      {"a // comment after the name is accepted", Lf({"#ifdef X // note", "#endif // done"}),
       CrLf({"//#ifdef X // note", "//#endif // done"}), ""},
      {"other text after the name warns and the test still runs",
       Lf({"#define X", "#ifdef X Y", "a", "#endif"}), CrLf({"a"}),
       Warning(1, "#ifdef X Y", kExtra), 0},
      {"a block comment after the name is extra text", Lf({"#ifndef X /* note */", "a", "#endif"}),
       CrLf({"//#ifndef X /* note */", "a", "//#endif"}),
       Warning(1, "#ifndef X /* note */", kExtra)},
      {"the rest is taken after the name, not inside the keyword", Lf({"#ifdef f", "#endif"}),
       CrLf({"//#ifdef f", "//#endif"}), ""},
      {"extra text after else in a skipped branch warns",
       Lf({"#ifdef X", "#else x", "a", "#endif"}),
       CrLf({"//#ifdef X", "//#else x", "a", "//#endif"}), Warning(2, "#else x", kExtra)},
      {"a comment after else in a skipped branch does not",
       Lf({"#ifdef X", "#else // c", "a", "#endif y"}), CrLf({"a"}), Warning(2, "#endif y", kExtra),
       0},
      {"extra text after else warns before the stop", Lf({"#else x"}), "<missing>",
       Warning(1, "#else x", kExtra) + Error(1, "#else x", kUnmatched)},
  };
  for (const Case& row : cases) Check(row);
}
