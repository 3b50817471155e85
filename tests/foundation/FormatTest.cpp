#include "foundation/Format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string FormatInto(int size, const char* format, ...) {
  std::string out(static_cast<std::size_t>(size), '#');
  va_list args;
  va_start(args, format);
  const int length = Core::FormatText(&out[0], size, format, args);
  va_end(args);
  EXPECT_EQ(out[static_cast<std::size_t>(length)], '\0');
  out.resize(static_cast<std::size_t>(length));
  return out;
}

template <class... Args>
std::string Format(const char* format, Args... args) {
  return FormatInto(Core::kFormatBufferSize, format, args...);
}

}  // namespace

TEST(FormatTest, FollowsWvsprintfSyntax) {
  const char* null = nullptr;
  const struct {
    std::string got;
    const char* want;
  } rows[] = {
      {Format("%d|%i", -42, 7), "-42|7"},
      {Format("%d", INT_MIN), "-2147483648"},
      {Format("%u", 4294967295u), "4294967295"},
      {Format("%x %X %#x", 255, 255, 255), "ff FF 0xff"},
      {Format("%c%c", 'A', '\x95'), "A\x95"},
      {Format("100%%"), "100%"},
      {Format("[%5d][%-5d][%05d][%05d]", 42, 42, 42, -42), "[   42][42   ][00042][-0042]"},
      {Format("[%.3d][%5.3d][%-05d]", 7, 7, 7), "[007][  007][7    ]"},
      {Format("[%s][%5s][%-5s]", "ab", "ab", "ab"), "[ab][   ab][ab   ]"},
      {Format("[%.2s][%s]", "abcdef", null), "[ab][(null)]"},
      {Format("%s", "\x95\x5c\x81\x40"), "\x95\x5c\x81\x40"},
      {Format("%ld %hd %lu", 5, 6, 7u), "5 6 7"},
      {Format("tail%"), "tail"},
      {Format("%"), ""},
  };
  for (const auto& row : rows) EXPECT_EQ(row.got, row.want);
}

TEST(FormatTest, CutsTextAtBufferSizeMinusOne) {
  EXPECT_EQ(FormatInto(8, "%s", "abcdefghij"), "abcdefg");
  EXPECT_EQ(FormatInto(8, "abc%5d", 1), "abc    ");
  EXPECT_EQ(FormatInto(1, "abc"), "");
  const std::string big(2000, 'x');
  EXPECT_EQ(Format("%s", big.c_str()).size(), 1023u);
  EXPECT_EQ(Format("%2000d", 1), std::string(1023, ' '));
}

TEST(FormatTest, HugeWidthOrPrecisionIsHarmless) {
  EXPECT_EQ(Format("%99999999999d", 1), std::string(1023, ' '));
  EXPECT_EQ(Format("%99999999999999999999999d", 1), std::string(1023, ' '));
  EXPECT_EQ(Format("%.99999999999d", 1), std::string(1023, '0'));
  EXPECT_EQ(Format("[%.99999999999s]", "ab"), "[ab]");
}
