// The command-line rule and the document the program starts with.
#include <gtest/gtest.h>

#include "app/core/Startup.h"
#include "tests/support/TempDir.h"

namespace {

struct CommandLineRow {
  const char* in;
  const char* want;
};

TEST(StartupTest, CommandLineRuleStripsOneQuoteAtEachEnd) {
  const CommandLineRow rows[] = {
      {nullptr, ""},
      {"", ""},
      {"x", ""},  // one byte counts as empty
      {"\"", ""},
      {"\"\"", ""},
      {"\"x\"", "x"},
      {"ab", "ab"},
      {"\"C:\\a b\\p.tvx\"", "C:\\a b\\p.tvx"},
      {"\"C:\\p.tvx\" ", "C:\\p.tvx\" "},  // the closing quote is not last
      {"C:\\p.tvx\"", "C:\\p.tvx"},
      {"\"C:\\p.tvx", "C:\\p.tvx"},
      {" C:\\p.tvx ", " C:\\p.tvx "},  // blanks are kept
      {"a b c", "a b c"},              // not split into arguments
      {"\"\"x\"\"", "\"x\""},
  };
  for (const CommandLineRow& row : rows) {
    SCOPED_TRACE(row.in ? row.in : "(null)");
    EXPECT_STREQ(row.want, ApplyCommandLineRule(row.in).GetText());
  }
}

TEST(StartupTest, NamedProjectIsLoaded) {
  TestSupport::TempDir dir;
  const Core::CString path = dir.PathString("p.tvx");
  CDocument saved;
  saved.m_nPathMode = 0;
  saved.m_nDirectiveMode = 2;
  saved.AddItem(CItem("C:\\src\\a.c", "C:\\out\\a.c"));
  ASSERT_TRUE(saved.Save(path.GetText()));

  CDocument doc(path.GetText());
  LoadStartupDocument(path, &doc);
  EXPECT_STREQ(path.GetText(), doc.m_strPath.GetText());
  ASSERT_EQ(1, doc.GetItemCount());
  EXPECT_STREQ("C:\\src\\a.c", doc.GetItem(0).m_strSource.GetText());
  EXPECT_EQ(2, doc.m_nDirectiveMode);
  EXPECT_TRUE(doc.m_strMessage.IsEmpty());
  EXPECT_EQ(0, doc.m_nModified);
}

TEST(StartupTest, UnloadableOrEmptyPathStartsUntitledKeepingTheMessage) {
  TestSupport::TempDir dir;
  const Core::CString missing = dir.PathString("missing.tvx");
  TestSupport::WriteBytes(dir.Path("bad.tvx"), "not a project");
  const Core::CString bad = dir.PathString("bad.tvx");
  const Core::CString paths[] = {Core::CString(""), missing, bad};
  for (const Core::CString& path : paths) {
    SCOPED_TRACE(path.GetText());
    CDocument doc(path.GetText());
    LoadStartupDocument(path, &doc);
    EXPECT_TRUE(doc.m_strPath.IsEmpty());
    EXPECT_FALSE(doc.m_strMessage.IsEmpty());
    EXPECT_EQ(0, doc.GetItemCount());
    EXPECT_EQ(0, doc.m_nPathMode);
    EXPECT_EQ(1, doc.m_nDirectiveMode);
  }
}

}  // namespace
