// The project model: settings by origin, item operations, path forms.
#include <gtest/gtest.h>

#include "project/Document.h"
#include "foundation/FileSystem.h"
#include "tests/support/TempDir.h"

namespace {

TEST(DocumentTest, SettingsByOrigin) {
  CDocument created;
  EXPECT_EQ(0, created.m_nPathMode);
  EXPECT_EQ(1, created.m_nDirectiveMode);
  EXPECT_TRUE(created.m_strPath.IsEmpty());
  EXPECT_EQ(0, created.m_nModified);
  EXPECT_EQ(kSourceCp932, created.m_nSourceCodePage);

  created.AddItem(CItem("C:\\a.c", "C:\\b.c"));
  created.m_strPath = "C:\\p.tvx";
  created.m_nSourceCodePage = kSourceUtf8;
  created.Reset(1, 1);
  EXPECT_EQ(kSourceCp932, created.m_nSourceCodePage);
  EXPECT_EQ(1, created.m_nPathMode);
  EXPECT_EQ(1, created.m_nDirectiveMode);
  EXPECT_EQ(0, created.GetItemCount());
  EXPECT_TRUE(created.m_strPath.IsEmpty());
  EXPECT_EQ(0, created.m_nModified);
}

TEST(DocumentTest, ItemOperationsMarkTheProjectModified) {
  CDocument doc;
  doc.AddItem(CItem("a", "b"));
  EXPECT_EQ(1, doc.m_nModified);
  doc.m_nModified = 0;
  doc.SetItem(0, CItem("c", "d"));
  EXPECT_EQ(1, doc.m_nModified);
  EXPECT_STREQ("c", doc.GetItem(0).m_strSource.GetText());
  EXPECT_STREQ("d", doc.GetItem(0).m_strDestination.GetText());
  doc.m_nModified = 0;
  doc.RemoveItem(0);
  EXPECT_EQ(1, doc.m_nModified);
  EXPECT_EQ(0, doc.GetItemCount());
}

struct PathRow {
  int pathMode;
  const char* directory;
  const char* in;
  const char* want;
};

TEST(DocumentTest, ConvertItemPathsBringsPathsIntoTheModesForm) {
  const PathRow rows[] = {
      {1, "C:\\proj\\", "C:\\proj\\src\\a.c", ".\\src\\a.c"},
      {1, "C:\\proj\\", "C:\\other\\a.c", "..\\other\\a.c"},
      {1, "C:\\proj\\", "D:\\a.c", "D:\\a.c"},  // another drive stays absolute
      {1, "C:\\proj\\", ".\\a.c", ".\\a.c"},
      {0, "C:\\proj\\", ".\\src\\a.c", "C:\\proj\\src\\a.c"},
      {0, "C:\\proj\\", "..\\a.c", "C:\\a.c"},
      {0, "C:\\proj\\", "D:\\a.c", "D:\\a.c"},
      {1, "", "C:\\proj\\a.c", "C:\\proj\\a.c"},  // untitled: nothing to be relative to
      {0, "", ".\\a.c", ".\\a.c"},
  };
  for (const PathRow& row : rows) {
    SCOPED_TRACE(std::string(row.directory) + " " + row.in);
    CDocument doc;
    doc.m_nPathMode = row.pathMode;
    doc.m_strDirectory = row.directory;
    doc.AddItem(CItem(row.in, row.in));
    doc.ConvertItemPaths();
    EXPECT_STREQ(row.want, doc.GetItem(0).m_strSource.GetText());
    EXPECT_STREQ(row.want, doc.GetItem(0).m_strDestination.GetText());
  }
}

TEST(DocumentTest, SaveLeavesItemPathsAsTheyStand) {
  TestSupport::TempDir dir;
  CDocument doc;
  doc.m_nPathMode = 1;
  doc.AddItem(CItem(".\\src\\a.c", "..\\out\\a.c"));
  ASSERT_TRUE(doc.Save(dir.Path("moved.tvx").c_str()));
  EXPECT_STREQ(".\\src\\a.c", doc.GetItem(0).m_strSource.GetText());
  EXPECT_STREQ("..\\out\\a.c", doc.GetItem(0).m_strDestination.GetText());
  EXPECT_EQ(dir.Dir() + TestSupport::kSeparator, doc.m_strDirectory.GetText());
}

TEST(DocumentTest, BareFileNameGivesAnEmptyDirectoryAndNoConversion) {
  TestSupport::TempDir dir;
  const TestSupport::CurrentDirGuard guard;
  ASSERT_TRUE(Core::SetCurrentDir(dir.Dir().c_str()));
  CDocument doc;
  doc.m_nPathMode = 1;
  doc.AddItem(CItem("C:\\a.c", "C:\\b.c"));
  ASSERT_TRUE(doc.Save("p.tvx"));
  ASSERT_EQ(1, doc.Load("p.tvx"));
  EXPECT_TRUE(doc.m_strDirectory.IsEmpty());
  EXPECT_STREQ("C:\\a.c", doc.GetItem(0).m_strSource.GetText());
}

}  // namespace
