// Files dropped on the main window: which project opens, which files are added.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/DropFiles.h"

namespace {

TEST(DropFilesTest, ProjectFilesEndInTvxInAnyCase) {
  const struct {
    const char* path;
    bool project;
  } rows[] = {
      {"C:\\p\\a.tvx", true},
      {"C:\\p\\a.TVX", true},
      {"a.Tvx", true},
      {".tvx", true},
      {"C:\\p\\a.tvx.bak", false},
      {"C:\\p\\atvx", false},
      {"tvx", false},
      {"", false},
      {"C:\\p\\a.tv", false},
      // A double-byte name before the extension: 表 is 95 5C.
      {"C:\\\x95\x5c.tvx", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(row.project, IsProjectFileName(row.path));
  }
}

TEST(DropFilesTest, AProjectWinsOtherwiseFilesOnTheListAreAdded) {
  const struct {
    std::vector<const char*> files;
    bool onList;
    int project;
    std::vector<int> items;
  } rows[] = {
      {{"C:\\a.c", "C:\\b.h"}, true, -1, {0, 1}},
      {{"C:\\a.c", "C:\\b.h"}, false, -1, {}},  // on the log pane
      {{"C:\\a.c", "C:\\p.TVX", "C:\\q.tvx"}, true, 1, {}},
      {{"C:\\p.tvx"}, false, 0, {}},
      {{}, true, -1, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.files.size() * 10 + row.onList);
    Core::CArray<Core::CString> files;
    for (const char* file : row.files) files.Add(file);
    const DropPlan plan = PlanDrop(files, row.onList);
    EXPECT_EQ(row.project, plan.project);
    std::vector<int> items;
    for (int i = 0; i < plan.items.GetSize(); ++i) items.push_back(plan.items[i]);
    EXPECT_EQ(row.items, items);
  }
}

}  // namespace
