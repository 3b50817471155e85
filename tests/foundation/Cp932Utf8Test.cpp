#include "foundation/Cp932Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DecodeRow {
  std::string cp932;
  std::string utf8;
  bool exact;
};

TEST(Cp932Utf8Test, DecodesCharactersAndReplacesBrokenBytes) {
  const DecodeRow rows[] = {
      {"abc\\~", "abc\\~", true},
      {"\x95\xcf\x8a\xb7", "\xe5\xa4\x89\xe6\x8f\x9b", true},  // 変換
      {"\x95\x5c", "\xe8\xa1\xa8", true},                      // 表: trail byte 0x5C
      {"\xb1", "\xef\xbd\xb1", true},                          // half-width katakana
      {"\x81\x40", "\xe3\x80\x80", true},                      // full-width space
      {"a\x95", "a\xef\xbf\xbd", false},                       // lead byte at the end
      {std::string("\x95\x00z", 3), std::string("\xef\xbf\xbd\x00z", 5), false},
      {"\x81\x7f"
       "A",
       "\xef\xbf\xbd\x7f"
       "A",
       false},                                              // invalid pair keeps the trail
      {"\x85\x81\x40", "\xef\xbf\xbd\xe3\x80\x80", false},  // ... which may lead the next
  };
  for (const DecodeRow& row : rows) {
    SCOPED_TRACE(row.utf8);
    std::string out;
    EXPECT_EQ(row.exact, Core::Cp932ToUtf8(row.cp932.data(), row.cp932.size(), &out));
    EXPECT_EQ(row.utf8, out);
    // Converted in pieces of any size, as a long log is, the bytes are the same.
    for (std::size_t limit = 2; limit <= row.cp932.size(); ++limit) {
      std::string pieces;
      for (std::size_t at = 0; at < row.cp932.size();) {
        const std::size_t n = Core::Cp932PieceLength(&row.cp932[at], row.cp932.size() - at, limit);
        char utf8[64];
        pieces.append(utf8, Core::Cp932ToUtf8Bytes(&row.cp932[at], n, utf8));
        at += n;
      }
      EXPECT_EQ(row.utf8, pieces) << "pieces of " << limit;
    }
    if (row.cp932.find('\0') != std::string::npos) continue;
    Core::CString text;
    EXPECT_EQ(row.exact ? Core::ConvertResult::kDone : Core::ConvertResult::kInexact,
              Core::Cp932ToUtf8(Core::CString(row.cp932.c_str()), &text));
    EXPECT_EQ(row.utf8, text.GetText());
  }
}

TEST(Cp932Utf8Test, EncodesUtf8AndRejectsWhatCannotBeEncoded) {
  std::string out;
  ASSERT_TRUE(Core::Utf8ToCp932("\xe5\xa4\x89\xe6\x8f\x9b.txt", 10, &out));
  EXPECT_EQ("\x95\xcf\x8a\xb7.txt", out);
  EXPECT_FALSE(Core::Utf8ToCp932("\xf0\x9f\x98\x80", 4, &out));  // emoji: not in the code page
  EXPECT_FALSE(Core::Utf8ToCp932("\xe5\xa4", 2, &out));          // cut sequence
  EXPECT_FALSE(Core::Utf8ToCp932("\xc0\xaf", 2, &out));          // overlong
  EXPECT_FALSE(Core::Utf8ToCp932("\xed\xa0\x80", 3, &out));      // surrogate
}

TEST(Cp932Utf8Test, LossyEncodingMarksWhatCannotBeEncoded) {
  const struct {
    std::string utf8;
    std::string cp932;
  } rows[] = {
      {"a\xe5\xa4\x89\xe6\x8f\x9b", "a\x95\xcf\x8a\xb7"},  // 変換
      {"\xf0\x9f\x98\x80!", "?!"},                         // emoji: one mark
      {"\xe5\xa4"
       "a\xc0\xaf\xed\xa0\x80",
       "??a?????"},             // each broken byte
      {"\xef\xbb\xbfx", "?x"},  // a mark inside a line
  };
  for (const auto& row : rows) {
    char out[16] = {};
    const std::size_t length = Core::Utf8ToCp932Lossy(row.utf8.data(), row.utf8.size(), out);
    EXPECT_LE(length, row.utf8.size());
    EXPECT_EQ(row.cp932, std::string(out, length)) << row.utf8;
  }
}

TEST(Cp932Utf8Test, EveryMappedDoubleByteCharacterRoundTrips) {
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      std::string utf8;
      if (!Core::Cp932ToUtf8(pair, 2, &utf8)) continue;
      ++mapped;
      std::string back;
      ASSERT_TRUE(Core::Utf8ToCp932(utf8.data(), utf8.size(), &back)) << lead << " " << trail;
      std::string again;
      ASSERT_TRUE(Core::Cp932ToUtf8(back.data(), back.size(), &again));
      EXPECT_EQ(utf8, again);
    }
  }
  EXPECT_GT(mapped, 7000);
}

}  // namespace
