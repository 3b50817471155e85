// Save As appends ".tvx" unless the name ends in it exactly.
#include <gtest/gtest.h>

#include "app/core/SaveAsName.h"

namespace {

TEST(SaveAsNameTest, ExtensionAppendedUnlessExact) {
  const struct {
    const char* chosen;
    const char* want;
  } rows[] = {
      {"C:\\p\\a.tvx", "C:\\p\\a.tvx"},
      {"C:\\p\\a", "C:\\p\\a.tvx"},
      {"C:\\p\\a.TVX", "C:\\p\\a.TVX.tvx"},
      {"C:\\p\\a.tvx.bak", "C:\\p\\a.tvx.bak.tvx"},
      {"C:\\p\\a.tv", "C:\\p\\a.tv.tvx"},
      {".tvx", ".tvx"},
      {"tvx", "tvx.tvx"},
      {"C:\\p\\表.tvx", "C:\\p\\表.tvx"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.chosen);
    EXPECT_STREQ(row.want, SaveAsName(row.chosen).GetText());
  }
}

}  // namespace
