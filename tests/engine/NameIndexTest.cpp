// The name index against a plain map: random inserts and erasures, so that
// probe runs wrap around the table and erasures close gaps inside them;
// and its hash, keyed per index.
#include "engine/NameIndex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

// 300 names stay in a table of heap slots; 6,000 grow it into large
// blocks, which grow where they lie.
class NameIndexTest : public testing::TestWithParam<int> {};

TEST_P(NameIndexTest, AgreesWithAMapUnderRandomChanges) {
  std::vector<std::string> names;
  const int count = GetParam();
  for (int i = 0; i < count; ++i)
    names.push_back("n" + std::to_string(i * 7919 % (count * 10 / 3)));
  std::mt19937 random(12345);
  CNameIndex index;
  std::map<std::string, int> model;  // name -> its position in `names`
  const auto holds = [&](const std::string& name) {
    return [&names, &name](const CNameIndex::Slot& slot) { return names[slot.tag - 1] == name; };
  };
  const auto position = [](const CNameIndex::Slot* slot) {
    return slot ? static_cast<int>(slot->tag) - 1 : -1;
  };
  for (int step = 0; step < 20000; ++step) {
    const int chosen = static_cast<int>(random() % names.size());
    const std::string& name = names[chosen];
    const std::uint32_t hash = index.Hash(name.data(), name.size());
    if (model.count(name)) {
      ASSERT_TRUE(index.Erase(hash, holds(name)));
      model.erase(name);
    } else {
      ASSERT_NE(index.Insert(hash, static_cast<std::uint32_t>(chosen) + 1), nullptr);
      model[name] = chosen;
    }
    ASSERT_EQ(index.GetCount(), model.size());
    if (step % (count / 15) != 0) continue;
    for (const std::string& probe : names) {
      const auto found = model.find(probe);
      const int stored = position(index.Find(index.Hash(probe.data(), probe.size()), holds(probe)));
      ASSERT_EQ(stored, found == model.end() ? -1 : found->second)
          << "step " << step << " name " << probe;
    }
  }
  EXPECT_FALSE(index.Erase(index.Hash("missing", 7), holds("missing")));
  index.Clear();
  EXPECT_EQ(index.Find(index.Hash(names[0].data(), 2), holds(names[0])), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Sizes, NameIndexTest, testing::Values(300, 6000));

// Names made to share the first slot of every table up to 4,096 slots, and
// names made to share the last, whose runs wrap around the end into the
// first: a long run at the start of the table as it doubles in place.
TEST(NameIndexTest, KeepsARunAroundTheEndAsItGrows) {
  CNameIndex index(7);
  std::vector<std::string> names;
  int first = 0;
  int last = 0;
  for (int i = 0; first + last < 300; ++i) {
    const std::string name = "w" + std::to_string(i);
    const std::uint32_t home = index.Hash(name.data(), name.size()) & 0xFFF;
    if ((home == 0 && first < 150) || (home == 0xFFF && last < 150)) {
      names.push_back(name);
      ++(home == 0 ? first : last);
    }
  }
  const auto holds = [](int i) {
    return [i](const CNameIndex::Slot& slot) { return slot.tag == std::uint32_t(i) + 1; };
  };
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    const std::string& name = names[i];
    ASSERT_NE(index.Insert(index.Hash(name.data(), name.size()), std::uint32_t(i) + 1), nullptr);
    for (int j = 0; j <= i; ++j) {
      ASSERT_NE(index.Find(index.Hash(names[j].data(), names[j].size()), holds(j)), nullptr)
          << names[j] << " after " << i + 1 << " names";
    }
  }
}

// Names that share their home slot in one index scatter in another, so no
// fixed set of names can make every index probe long runs.
TEST(NameIndexTest, HashIsKeyedPerIndex) {
  const CNameIndex first(1);
  const CNameIndex second(2);
  const std::uint32_t mask = (1u << 16) - 1;
  int same = 0;
  int sharing = 0;
  // The names sharing the first name's home in a table of 16 slots of the
  // first index (about 60 of them: a fixed home could have none), and
  // their homes in a table of 65,536 slots of the second.
  std::uint32_t home = 0;
  std::vector<std::uint32_t> homes;
  for (int i = 0; i < 1000; ++i) {
    const std::string name = "NAME_" + std::to_string(i);
    const std::uint32_t a = first.Hash(name.data(), name.size());
    const std::uint32_t b = second.Hash(name.data(), name.size());
    if (a == b) ++same;
    if (i == 0) home = a & 0xf;
    if ((a & 0xf) == home) homes.push_back(b & mask);
  }
  for (std::size_t i = 1; i < homes.size(); ++i) {
    if (homes[i] == homes[0]) ++sharing;
  }
  EXPECT_LT(same, 5);
  EXPECT_GT(homes.size(), 20u);
  EXPECT_LT(sharing, 2);
  EXPECT_EQ(first.Hash("ab", 2), first.Hash("ab", 2));
  EXPECT_NE(first.Hash("ab", 2), first.Hash("ab ", 3));
}
