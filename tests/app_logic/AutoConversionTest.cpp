// What the automatic conversion keeps when the window's items or settings
// change: which items a pass must take up, and which items a change to a
// file they read concerns afterwards.
#include <gtest/gtest.h>

#include <vector>

#include "app/core/AutoConversion.h"

namespace {

using Items = std::vector<CItem>;

Core::CArray<CItem> ItemArray(const Items& items) {
  Core::CArray<CItem> array;
  for (const CItem& item : items) array.Add(item);
  return array;
}

std::vector<int> Vector(const Core::CArray<int>& array) {
  return std::vector<int>(array.GetData(), array.GetData() + array.GetSize());
}

ConversionSettings Relative() {
  ConversionSettings settings;
  settings.directory = "/p/";
  settings.pathMode = 1;
  return settings;
}

Core::CString Source(const CItem& item, const ConversionSettings& settings) {
  Core::CString source;
  Core::CString destination;
  EXPECT_TRUE(ItemPaths(item, settings, &source, &destination));
  return source;
}

std::vector<int> Concerned(const CAutoConversion& conversion, const Core::CString& path) {
  Core::CArray<Core::CString> changed;
  changed.Add(path);
  Core::CArray<int> indices;
  EXPECT_TRUE(conversion.ItemsConcerned(changed, &indices));
  return Vector(indices);
}

enum class Change { kNone, kDeleteFirst, kAddFirst, kEditFirst, kAbsolute, kDisposition };

void Apply(Change change, Items* items, ConversionSettings* settings) {
  switch (change) {
    case Change::kNone:
      break;
    case Change::kDeleteFirst:
      items->erase(items->begin());
      break;
    case Change::kAddFirst:
      items->insert(items->begin(), CItem(".\\c.c", ".\\c.out"));
      break;
    case Change::kEditFirst:
      (*items)[0].m_strDestination = ".\\other.out";
      break;
    case Change::kAbsolute:  // the same files, named otherwise
      for (CItem& item : *items) {
        const CItem relative = item;
        ItemPaths(relative, *settings, &item.m_strSource, &item.m_strDestination);
      }
      settings->pathMode = 0;
      settings->directory = "/elsewhere/";
      break;
    case Change::kDisposition:  // the same files, converted otherwise
      settings->disposition = 2;
      break;
  }
}

struct UpdateRow {
  Change change;
  std::vector<int> due;
  std::vector<int> includeConcerns;  // the items a change to a's included file concerns
  std::vector<int> bConcerns;        // the items a change to b.c concerns
};

TEST(AutoConversionTest, UpdateKeepsWhatItemsThatStayedHaveRead) {
  const CItem a(".\\a.c", ".\\a.out");
  const CItem b(".\\b.c", ".\\b.out");
  const Core::CString include("/p/inc/a.h");
  const UpdateRow rows[] = {
      {Change::kNone, {}, {0}, {1}},      {Change::kDeleteFirst, {}, {}, {0}},
      {Change::kAddFirst, {0}, {1}, {2}}, {Change::kEditFirst, {0}, {}, {1}},
      {Change::kAbsolute, {}, {0}, {1}},  {Change::kDisposition, {0, 1}, {}, {1}},
  };
  for (const UpdateRow& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.change));
    Items items = {a, b};
    ConversionSettings settings = Relative();
    CAutoConversion conversion;
    Core::CArray<int> due;
    ASSERT_TRUE(conversion.Start(ItemArray(items), settings, &due));
    EXPECT_EQ((std::vector<int>{0, 1}), Vector(due));
    // A run over both: a includes a file, b reads only its source.
    Core::CArray<Core::CString> inputs;
    inputs.Add(Source(a, settings));
    inputs.Add(include);
    conversion.ItemConverted(0, "/p/a.out", true, inputs, {});
    inputs.RemoveAll();
    inputs.Add(Source(b, settings));
    conversion.ItemConverted(1, "/p/b.out", true, inputs, {});

    Apply(row.change, &items, &settings);
    ASSERT_TRUE(conversion.Update(ItemArray(items), settings, &due));
    EXPECT_EQ(row.due, Vector(due));
    EXPECT_EQ(row.includeConcerns, Concerned(conversion, include));
    EXPECT_EQ(row.bConcerns, Concerned(conversion, Source(b, Relative())));
    Core::CArray<Core::CString> files;
    Core::CArray<Core::FileLook> seen;
    ASSERT_TRUE(conversion.Files(&files, &seen));
    bool watched = false;
    for (int i = 0; i < files.GetSize(); ++i) watched = watched || files[i] == include;
    EXPECT_EQ(!row.includeConcerns.empty(), watched);
  }
}

}  // namespace
