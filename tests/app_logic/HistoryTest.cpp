// The recent-projects list and its File menu labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/History.h"

namespace {

Core::CArray<Core::CString> MakeHistory(const std::vector<const char*>& entries) {
  Core::CArray<Core::CString> history;
  for (const char* entry : entries) history.Add(entry);
  return history;
}

std::vector<std::string> Texts(const Core::CArray<Core::CString>& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.GetSize(); ++i) texts.push_back(list[i].GetText());
  return texts;
}

struct AddRow {
  const char* name;
  std::vector<const char*> before;
  int count;
  const char* path;
  std::vector<std::string> want;
};

TEST(HistoryTest, AddToHistoryKeepsMostRecentFirst) {
  const AddRow rows[] = {
      {"into empty entries", {"", "", ""}, 3, "a", {"a", "", ""}},
      {"second", {"a", "", ""}, 3, "b", {"b", "a", ""}},
      {"known moves to front", {"c", "b", "a"}, 3, "a", {"a", "c", "b"}},
      {"front stays", {"c", "b", "a"}, 3, "c", {"c", "b", "a"}},
      {"fourth drops oldest", {"c", "b", "a"}, 3, "d", {"d", "c", "b"}},
      {"letter case differs",
       {"C:\\P.tvx", "", ""},
       3,
       "C:\\p.tvx",
       {"C:\\p.tvx", "C:\\P.tvx", ""}},
      {"after a dropped entry", {"b", "a"}, 3, "c", {"c", "b", "a"}},
      {"count 0 records nothing", {}, 0, "a", {}},
      {"count 1", {"a"}, 1, "b", {"b"}},
  };
  for (const AddRow& row : rows) {
    SCOPED_TRACE(row.name);
    Core::CArray<Core::CString> history = MakeHistory(row.before);
    AddToHistory(&history, row.count, row.path);
    EXPECT_EQ(row.want, Texts(history));
  }
}

TEST(HistoryTest, LabelsNumberEntriesUpToTheFirstEmptyOne) {
  const Core::CArray<Core::CString> history =
      MakeHistory({"C:\\a.tvx", "C:\\b.tvx", "", "C:\\d.tvx"});
  EXPECT_EQ((std::vector<std::string>{"&1 C:\\a.tvx", "&2 C:\\b.tvx"}),
            Texts(HistoryMenuLabels(history, 4)));
  EXPECT_EQ((std::vector<std::string>{"&1 C:\\a.tvx"}), Texts(HistoryMenuLabels(history, 1)));
  EXPECT_TRUE(Texts(HistoryMenuLabels(history, 0)).empty());
  EXPECT_TRUE(Texts(HistoryMenuLabels(MakeHistory({"", "C:\\b.tvx"}), 3)).empty());
  EXPECT_TRUE(Texts(HistoryMenuLabels(MakeHistory({}), 3)).empty());
}

TEST(HistoryTest, LongLabelsAreCompacted) {
  const Core::CArray<Core::CString> history =
      MakeHistory({"C:\\work\\projects\\alpha\\beta\\gamma\\delta\\sample.tvx"});
  EXPECT_EQ((std::vector<std::string>{"&1 C:\\work\\....\\gamma\\delta\\sample.tvx"}),
            Texts(HistoryMenuLabels(history, 3)));
}

}  // namespace
