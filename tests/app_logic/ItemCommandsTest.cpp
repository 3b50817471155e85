// Matching list rows to document items for edit and delete.
#include <gtest/gtest.h>

#include "app/core/ItemCommands.h"

namespace {

// Items: a, a duplicate pair b/b, then c.
void Fill(CDocument* doc) {
  doc->m_aItems.Add(CItem("a.txt", "a.out"));
  doc->m_aItems.Add(CItem("b.txt", "b.out"));
  doc->m_aItems.Add(CItem("b.txt", "b.out"));
  doc->m_aItems.Add(CItem("c.txt", "c.out"));
  doc->m_nModified = 0;
}

TEST(ItemCommandsTest, EditAndDeleteActOnFirstOfDuplicates) {
  CDocument edited;
  Fill(&edited);
  ASSERT_TRUE(ReplaceMatchingItem(&edited, "b.txt", "b.out", CItem("n.txt", "n.out")));
  EXPECT_EQ(1, edited.m_nModified);
  EXPECT_STREQ("n.out", edited.GetItem(1).m_strDestination.GetText());
  EXPECT_STREQ("b.txt", edited.GetItem(2).m_strSource.GetText());

  CDocument reduced;
  Fill(&reduced);
  ASSERT_TRUE(RemoveMatchingItem(&reduced, "b.txt", "b.out"));
  EXPECT_EQ(1, reduced.m_nModified);
  ASSERT_EQ(3, reduced.GetItemCount());
  EXPECT_STREQ("b.txt", reduced.GetItem(1).m_strSource.GetText());
  EXPECT_STREQ("c.txt", reduced.GetItem(2).m_strSource.GetText());
}

TEST(ItemCommandsTest, MatchNeedsBothTextsExactly) {
  CDocument doc;
  Fill(&doc);
  EXPECT_EQ(3, FindMatchingItem(doc.m_aItems, "c.txt", "c.out"));
  const char* const misses[][2] = {{"a.txt", "b.out"}, {"A.txt", "a.out"}, {"a.txt", ""}};
  for (const auto& miss : misses) {
    EXPECT_FALSE(ReplaceMatchingItem(&doc, miss[0], miss[1], CItem("n.txt", "n.out")));
    EXPECT_FALSE(RemoveMatchingItem(&doc, miss[0], miss[1]));
  }
  EXPECT_EQ(0, doc.m_nModified);
  EXPECT_EQ(4, doc.GetItemCount());
  EXPECT_STREQ("a.txt", doc.GetItem(0).m_strSource.GetText());
}

TEST(ItemCommandsTest, DeleteAsksOnlyForSeveralRows) {
  EXPECT_FALSE(DeleteQuestionBox(0).okCancel);
  EXPECT_STREQ("アイテムが選択されていません.\n削除したいアイテムを選択してください.",
               DeleteQuestionBox(0).text);
  EXPECT_EQ(nullptr, DeleteQuestionBox(1).text);
  EXPECT_TRUE(DeleteQuestionBox(2).okCancel);
  EXPECT_STREQ("選択されているアイテムをすべて削除します.", DeleteQuestionBox(2).text);
}

TEST(ItemCommandsTest, ItemFilesOpenInTheirFolderOrTheProjectFolder) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\work\\src\\a.c", "C:\\work\\src\\"},
      {"C:a.c", "C:"},
      {".\\src\\a.c", "D:\\proj\\"},
      {"..\\a.c", "D:\\proj\\"},
      {"", "D:\\proj\\"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(c.folder, ItemFileFolder(c.path, "D:\\proj\\").GetText()) << c.path;
  }
}

}  // namespace
