// The name index against a plain map: random inserts and erasures, so that
// probe runs wrap around the table and erasures close gaps inside them.
#include "NameIndex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

TEST(NameIndexTest, AgreesWithAMapUnderRandomChanges) {
  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) names.push_back("n" + std::to_string(i * 7919 % 1000));
  std::mt19937 random(12345);
  CNameIndex index;
  std::map<std::string, int> model;
  for (int step = 0; step < 20000; ++step) {
    const std::string& name = names[random() % names.size()];
    if (model.count(name)) {
      ASSERT_TRUE(index.Erase(name.data(), name.size()));
      model.erase(name);
    } else {
      index.Insert(name.data(), name.size(), step);
      model[name] = step;
    }
    ASSERT_EQ(index.GetCount(), model.size());
    if (step % 20 != 0) continue;
    for (const std::string& probe : names) {
      const auto found = model.find(probe);
      ASSERT_EQ(index.Find(probe.data(), probe.size()), found == model.end() ? -1 : found->second)
          << "step " << step << " name " << probe;
    }
  }
  EXPECT_FALSE(index.Erase("missing", 7));
  index.Clear();
  EXPECT_EQ(index.Find(names[0].data(), names[0].size()), -1);
}
