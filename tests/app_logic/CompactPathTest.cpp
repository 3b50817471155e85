// Shortening long paths for the title and the history menu.
#include <gtest/gtest.h>

#include "app/core/CompactPath.h"

namespace {

struct CompactRow {
  const char* in;
  const char* want;
};

TEST(CompactPathTest, ReplacesMiddleSegmentsOfLongPaths) {
  const CompactRow rows[] = {
      {"", ""},
      // 49 bytes: shown whole.
      {"C:\\work\\projects\\alpha\\beta\\gamma\\delta\\sampl.tvx",
       "C:\\work\\projects\\alpha\\beta\\gamma\\delta\\sampl.tvx"},
      // 50 bytes, seven segments.
      {"C:\\work\\projects\\alpha\\beta\\gamma\\delta\\sample.tvx",
       "C:\\work\\....\\gamma\\delta\\sample.tvx"},
      // Four segments, segment 2 longer than 5 bytes.
      {"C:\\project folder\\second level\\x\\sample_project.tvx",
       "C:\\project folder\\....\\x\\sample_project.tvx"},
      // Four segments, segment 2 of exactly 5 bytes: unchanged.
      {"C:\\ab\\abcd\\x\\a_rather_long_file_name_for_the_tests.tvx",
       "C:\\ab\\abcd\\x\\a_rather_long_file_name_for_the_tests.tvx"},
      {"C:\\ab\\abcde\\x\\a_rather_long_file_name_for_the_tests.tvx",
       "C:\\ab\\....\\x\\a_rather_long_file_name_for_the_tests.tvx"},
      // Five segments always get the form, even where it is longer.
      {"C:\\a\\b\\c\\d\\this_is_a_rather_long_file_name_for_tests.tvx",
       "C:\\a\\....\\c\\d\\this_is_a_rather_long_file_name_for_tests.tvx"},
      // Three segments: unchanged however long.
      {"C:\\a_long_directory_name\\another_long_one\\file_name_here.tvx",
       "C:\\a_long_directory_name\\another_long_one\\file_name_here.tvx"},
      // No drive: the first segment runs to the first backslash.
      {"&1 C:\\work\\projects\\alpha\\beta\\gamma\\delta\\sample.tvx",
       "&1 C:\\work\\....\\gamma\\delta\\sample.tvx"},
      // A double-byte character whose second byte is 0x5C is never cut:
      // segments \ a\ ソt\ b\ (four, segment 2 short), and \ ソ\ c\ データ\ d\ e\.
      {"C:\\a\\\x83\x5Ct\\b\\a_rather_long_file_name_for_the_tests.tvx",
       "C:\\a\\\x83\x5Ct\\b\\a_rather_long_file_name_for_the_tests.tvx"},
      {"Y:\\\x83\x5C\\c\\\x83\x66\x81\x5B\x83\x5E\\d\\e\\long_file_name_for_the_tests.tvx",
       "Y:\\\x83\x5C\\....\\d\\e\\long_file_name_for_the_tests.tvx"},
      {"&1 Y:\\\x95\x5C\\\x94\x5C\\\x97\x5C\\x\\a_long_file_name_for_the_tests.tvx",
       "&1 Y:\\\x95\x5C\\....\\\x97\x5C\\x\\a_long_file_name_for_the_tests.tvx"},
      // Relative forms are shortened alike.
      {"..\\..\\one\\two\\three\\four\\a_rather_long_file_name.tvx",
       "..\\..\\....\\three\\four\\a_rather_long_file_name.tvx"},
  };
  for (const CompactRow& row : rows) {
    SCOPED_TRACE(row.in);
    EXPECT_STREQ(row.want, CompactPath(row.in).GetText());
  }
}

}  // namespace
