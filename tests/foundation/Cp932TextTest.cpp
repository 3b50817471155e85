#include "Cp932Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Cp932 = Core::Cp932;

TEST(Cp932TextTest, LeadBytesAreTheTwoShiftJisRanges) {
  const struct { unsigned char c; bool lead; } rows[] = {
      {0x00, false}, {0x5C, false}, {0x7F, false}, {0x80, false}, {0x81, true}, {0x9F, true},
      {0xA0, false}, {0xB1, false}, {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false},
      {0xFF, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.c));
    EXPECT_EQ(Cp932::IsLeadByte(row.c), row.lead);
  }
}

TEST(Cp932TextTest, LeadByteBeforeTerminatorStandsAlone) {
  EXPECT_EQ(Cp932::CharLength("\x95\x5c"), 2u);
  EXPECT_EQ(Cp932::CharLength("\x95"), 1u);
  EXPECT_EQ(Cp932::CharLength("\xb1\x5c"), 1u);  // half-width katakana is single-byte
  EXPECT_EQ(Cp932::CharLength(""), 0u);
  const char* text = "\x95";
  EXPECT_EQ(Cp932::Next(Cp932::Next(text)), text + 1);
}

TEST(Cp932TextTest, OnlySingleByteWhiteSpaceIsSpace) {
  for (char c : {' ', '\t', '\n', '\v', '\f', '\r'}) EXPECT_TRUE(Cp932::IsSpace(c)) << int(c);
  for (char c : {'\x08', '\x0e', 'a', '\x81', '\x40', '\xa0'}) EXPECT_FALSE(Cp932::IsSpace(c)) << int(c);
}

TEST(Cp932TextTest, SubstringMatchesOnlyOnCharacterBoundaries) {
  const struct { const char* text; const char* sub; int want; } rows[] = {
      {"abc", "c", 2}, {"abc", "", 0}, {"abc", "abcd", -1},
      {"\x95\x5c\\", "\\", 2}, {"\x83\x41\x83\x41" "A", "A", 4},
      {"\x83\x41\x83\x41", "\x41\x83", -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.text) + " / " + row.sub);
    const char* match = Cp932::FindSubstring(row.text, row.sub);
    EXPECT_EQ(match ? static_cast<int>(match - row.text) : -1, row.want);
  }
}

TEST(Cp932TextTest, DelimitersCompareWholeCharacters) {
  EXPECT_TRUE(Cp932::IsDelimiter(",", ";,"));
  EXPECT_FALSE(Cp932::IsDelimiter("\x95\x5c", "\\"));
  EXPECT_TRUE(Cp932::IsDelimiter("\x81\x40", "\x81\x40"));
  EXPECT_FALSE(Cp932::IsDelimiter("\x81", "\x81\x40"));
  EXPECT_FALSE(Cp932::IsDelimiter("", ","));
}

TEST(Cp932TextTest, NextTokenContinuesAfterItsDelimiter) {
  const char* text = "\x81\x40" "ab\x81\x40\x81\x40\x95\x5c";
  std::vector<std::string> tokens;
  std::size_t pos = 0, start = 0, length = 0;
  while (Cp932::NextToken(text, "\x81\x40", &pos, &start, &length)) {
    tokens.push_back(std::string(text + start, length));
    ASSERT_LT(tokens.size(), 5u);
  }
  EXPECT_EQ(tokens, (std::vector<std::string>{"ab", "\x95\x5c"}));
  EXPECT_EQ(pos, std::string(text).size());
}

TEST(Cp932TextTest, ReverseOnlyLooksAtGivenLength) {
  char text[] = "ab\x95\x5c" "cd";
  Cp932::Reverse(text, 4);
  EXPECT_STREQ(text, "\x95\x5c" "bacd");
}
