#include "foundation/Cp932Text.h"

#include <gtest/gtest.h>

namespace Cp932 = Core::Cp932;

TEST(Cp932TextTest, LeadBytesAreTheTwoShiftJisRanges) {
  const struct {
    unsigned char c;
    bool lead;
  } rows[] = {
      {0x00, false}, {0x5C, false}, {0x7F, false}, {0x80, false}, {0x81, true},
      {0x9F, true},  {0xA0, false}, {0xB1, false}, {0xDF, false}, {0xE0, true},
      {0xFC, true},  {0xFD, false}, {0xFF, false},
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

TEST(Cp932TextTest, DelimitersCompareWholeCharacters) {
  EXPECT_TRUE(Cp932::IsDelimiter(",", ";,"));
  EXPECT_FALSE(Cp932::IsDelimiter("\x95\x5c", "\\"));
  EXPECT_TRUE(Cp932::IsDelimiter("\x81\x40", "\x81\x40"));
  EXPECT_FALSE(Cp932::IsDelimiter("\x81", "\x81\x40"));
  EXPECT_FALSE(Cp932::IsDelimiter("", ","));
}
