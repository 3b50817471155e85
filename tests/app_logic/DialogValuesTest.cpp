// What the item, common settings and project settings dialogs show and hand back.
#include <gtest/gtest.h>

#include "app/core/DialogValues.h"
#include "foundation/SourceEncoding.h"

namespace {

TEST(DialogValuesTest, ItemShownAbsoluteAndHandedBackInStoredForm) {
  const CItem shown = ItemForDialog("C:\\proj\\", ".\\a.txt", "..\\out\\a.h");
  EXPECT_STREQ("C:\\proj\\a.txt", shown.m_strSource.GetText());
  EXPECT_STREQ("C:\\out\\a.h", shown.m_strDestination.GetText());

  CItem item("old", "old");
  ASSERT_EQ(nullptr, AcceptItem("C:\\proj\\", 1, shown.m_strSource, shown.m_strDestination, &item));
  EXPECT_STREQ(".\\a.txt", item.m_strSource.GetText());
  EXPECT_STREQ("..\\out\\a.h", item.m_strDestination.GetText());

  ASSERT_EQ(nullptr, AcceptItem("C:\\proj\\", 0, ".\\b.txt", "C:\\x\\b.h", &item));
  EXPECT_STREQ("C:\\proj\\b.txt", item.m_strSource.GetText());
  EXPECT_STREQ("C:\\x\\b.h", item.m_strDestination.GetText());
}

TEST(DialogValuesTest, UntitledProjectKeepsPathsAsGiven) {
  EXPECT_STREQ(".\\a.txt", ItemForDialog("", ".\\a.txt", "b.h").m_strSource.GetText());
  CItem item;
  ASSERT_EQ(nullptr, AcceptItem("", 1, ".\\a.txt", "b.h", &item));
  EXPECT_STREQ(".\\a.txt", item.m_strSource.GetText());
}

TEST(DialogValuesTest, EmptyFieldWarnsForTheFirstOnly) {
  CItem item("s", "d");
  EXPECT_STREQ("変換元ファイル名が空欄です。\n入力してください", AcceptItem("", 0, "", "", &item));
  EXPECT_STREQ("変換元ファイル名が空欄です。\n入力してください",
               AcceptItem("", 0, "", "d2", &item));
  EXPECT_STREQ("変換後ファイル名が空欄です。\n入力してください",
               AcceptItem("", 0, "s2", "", &item));
  EXPECT_STREQ("s", item.m_strSource.GetText());
  EXPECT_STREQ("d", item.m_strDestination.GetText());
}

TEST(DialogValuesTest, FormFollowsPathsAndMode) {
  const ItemDialogForm add = ItemDialogFormFor(CItem("a.txt", ""), 1);
  EXPECT_STREQ("追加", add.okText);
  EXPECT_EQ(nullptr, add.hint);
  const ItemDialogForm edit = ItemDialogFormFor(CItem("a.txt", "b.h"), 0);
  EXPECT_STREQ("アイテムの変更", edit.title);
  EXPECT_STREQ("一覧画面でも絶対パスで表示されます。", edit.hint);
}

TEST(DialogValuesTest, HistoryFieldReadsAsUnsignedWithoutValidation) {
  const struct {
    const char* text;
    int value;
    bool accepted;
  } rows[] = {
      {"", 0, true},
      {"4", 4, true},
      {"9", 9, true},
      {"x", 0, true},
      {"3a", 0, true},
      {"10", 10, false},
      {"4294967295", -1, false},
      {"4294967296", 0, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    const int value = ReadHistoryField(row.text);
    EXPECT_EQ(row.value, value);
    EXPECT_EQ(row.accepted, HistoryCountAccepted(value));
  }
  EXPECT_STREQ("履歴の個数は 0 ～ 9 にしてください.", kHistoryRangeMessage);
}

TEST(DialogValuesTest, ProjectRadiosRoundTrip) {
  for (int mode = 0; mode <= 1; ++mode) {
    for (int disposition = 0; disposition <= 2; ++disposition) {
      for (int codePage : {kSourceCp932, kSourceUtf8}) {
        int gotMode = -1, gotDisposition = -1, gotCodePage = -1;
        SettingsFromRadios(RadiosForSettings(mode, disposition, codePage), &gotMode,
                           &gotDisposition, &gotCodePage);
        EXPECT_EQ(mode, gotMode);
        EXPECT_EQ(disposition, gotDisposition);
        EXPECT_EQ(codePage, gotCodePage);
      }
    }
  }
  const ProjectRadios unknown = RadiosForSettings(1, 3, 1200);
  EXPECT_TRUE(unknown.relative);
  EXPECT_FALSE(unknown.removeDirective || unknown.commentBefore || unknown.commentAfter);
  EXPECT_TRUE(unknown.sourceCp932);
  EXPECT_FALSE(unknown.sourceUtf8);
  int mode = -1, disposition = -1, codePage = -1;
  SettingsFromRadios(unknown, &mode, &disposition, &codePage);
  EXPECT_EQ(2, disposition);
  EXPECT_EQ(kSourceCp932, codePage);
  // Neither encoding checked: code page 932.
  ProjectRadios none = RadiosForSettings(0, 0, kSourceUtf8);
  none.sourceUtf8 = false;
  SettingsFromRadios(none, &mode, &disposition, &codePage);
  EXPECT_EQ(kSourceCp932, codePage);
}

}  // namespace
