// The window title for the project's path, modified state and automatic conversion.
#include <gtest/gtest.h>

#include "app/core/Title.h"

namespace {

struct TitleRow {
  const char* name;
  const char* path;
  int modified;
  bool autoConvert;
  const char* current;
  const char* want;  // nullptr: the title stays
};

TEST(TitleTest, TitleFollowsPathAndModifiedMark) {
  const TitleRow rows[] = {
      {"untitled", "", 0, false, "Tovi", "Tovi  (無題)"},
      {"saved project", "C:\\p.tvx", 0, false, "Tovi  (無題) (更新)", "Tovi  C:\\p.tvx"},
      {"long path", "C:\\work\\projects\\alpha\\beta\\gamma\\delta\\sample.tvx", 0, false, "",
       "Tovi  C:\\work\\....\\gamma\\delta\\sample.tvx"},
      {"modified gets the mark", "C:\\p.tvx", 1, false, "Tovi  C:\\p.tvx",
       "Tovi  C:\\p.tvx (更新)"},
      {"modified untitled", "", 1, false, "Tovi  (無題)", "Tovi  (無題) (更新)"},
      {"mark never twice", "C:\\p.tvx", 1, false, "Tovi  C:\\p.tvx (更新)", nullptr},
      {"mark without blank counts", "", 1, false, "x(更新)", nullptr},
      {"mark elsewhere does not count", "", 1, false, "Tovi (更新) x", "Tovi (更新) x (更新)"},
      {"shorter than 6 bytes", "", 1, false, "Tovi", nullptr},
      {"exactly 6 bytes", "", 1, false, "Tovi12", "Tovi12 (更新)"},
      {"modified ignores the path", "C:\\q.tvx", 1, false, "anything", "anything (更新)"},
      {"auto mark after the path", "C:\\p.tvx", 0, true, "", "Tovi  C:\\p.tvx [自動変換]"},
      {"modified mark before the auto mark", "C:\\p.tvx", 1, true, "Tovi  C:\\p.tvx [自動変換]",
       "Tovi  C:\\p.tvx (更新) [自動変換]"},
      {"both marks never twice", "C:\\p.tvx", 1, true, "Tovi  C:\\p.tvx (更新) [自動変換]",
       nullptr},
      {"auto off keeps the modified mark", "C:\\p.tvx", 1, false,
       "Tovi  C:\\p.tvx (更新) [自動変換]", "Tovi  C:\\p.tvx (更新)"},
      {"auto mark on a short title", "", 1, true, "Tovi", "Tovi [自動変換]"},
      {"auto mark inside does not count", "", 1, true, "a [自動変換] (更新)",
       "a [自動変換] (更新) [自動変換]"},
  };
  for (const TitleRow& row : rows) {
    SCOPED_TRACE(row.name);
    Core::CString title("unchanged");
    const bool changed = NextTitle(row.path, row.modified, row.autoConvert, row.current, &title);
    if (row.want) {
      EXPECT_TRUE(changed);
      EXPECT_STREQ(row.want, title.GetText());
    } else {
      EXPECT_FALSE(changed);
      EXPECT_STREQ("unchanged", title.GetText());
    }
  }
}

}  // namespace
