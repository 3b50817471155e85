#include "foundation/Array.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "foundation/Memory.h"
#include "foundation/String.h"

using Core::CArray;
using Core::CAutoPtrArray;
using Core::CString;

namespace {

struct Bytes1 {
  char c = 0;
};
struct Bytes4 {
  int v = 0;
};
struct Bytes8 {
  long long v = 0;
};
struct Bytes16 {
  long long a = 0, b = 0;
};
static_assert(sizeof(Bytes1) == 1 && sizeof(Bytes4) == 4 && sizeof(Bytes8) == 8 &&
                  sizeof(Bytes16) == 16,
              "element sizes");

template <class T>
void ExpectBlockFor(int n, std::size_t byteSize) {
  CArray<T> a;
  ASSERT_TRUE(a.SetSize(n));
  EXPECT_EQ(a.GetSize(), n);
  EXPECT_EQ(a.GetByteSize(), byteSize);
  EXPECT_EQ(a.GetCapacity(), static_cast<int>(byteSize / sizeof(T)));
}

CArray<CString> Strings(const std::vector<const char*>& texts) {
  CArray<CString> a;
  for (const char* text : texts) EXPECT_TRUE(a.Add(text));
  return a;
}

// The used slots hold `want`; every free slot holds a string without a block.
void ExpectStrings(const CArray<CString>& a, const std::vector<const char*>& want) {
  ASSERT_EQ(a.GetSize(), static_cast<int>(want.size()));
  ASSERT_LT(a.GetSize(), a.GetCapacity());
  for (int i = 0; i < a.GetSize(); ++i) EXPECT_STREQ(a[i].GetText(), want[i]) << "slot " << i;
  for (int i = a.GetSize(); i < a.GetCapacity(); ++i) {
    EXPECT_EQ(a.GetData()[i].GetBuffer(), nullptr) << "free slot " << i;
    EXPECT_EQ(a.GetData()[i].GetCapacity(), 0u) << "free slot " << i;
  }
}

template <class T>
void ExpectAllZero(const CArray<T>& a) {
  EXPECT_EQ(a.GetSize(), 0);
  EXPECT_EQ(a.GetCapacity(), 0);
  EXPECT_EQ(a.GetByteSize(), 0u);
  EXPECT_EQ(a.GetData(), nullptr);
}

}  // namespace

TEST(CArrayTest, BlockDoublesFrom16BytesAboveUsedBytes) {
  const struct {
    std::size_t element;
    int n;
    std::size_t bytes;
  } rows[] = {
      {16, 0, 16}, {16, 1, 32}, {16, 2, 64}, {16, 3, 64}, {16, 4, 128}, {16, 7, 128}, {8, 0, 16},
      {8, 1, 16},  {8, 2, 32},  {8, 3, 32},  {8, 4, 64},  {8, 7, 64},   {4, 0, 16},   {4, 3, 16},
      {4, 4, 32},  {1, 0, 16},  {1, 15, 16}, {1, 16, 32}, {1, 32, 64},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.element) + " bytes x " + std::to_string(row.n));
    switch (row.element) {
      case 1:
        ExpectBlockFor<Bytes1>(row.n, row.bytes);
        break;
      case 4:
        ExpectBlockFor<Bytes4>(row.n, row.bytes);
        break;
      case 8:
        ExpectBlockFor<Bytes8>(row.n, row.bytes);
        break;
      default:
        ExpectBlockFor<Bytes16>(row.n, row.bytes);
        break;
    }
  }
}

TEST(CArrayTest, AddKeepsOneSlotFree) {
  CArray<Bytes16> a;
  ASSERT_TRUE(a.Add(Bytes16{1, 2}));
  EXPECT_EQ(a.GetCapacity(), 2);
  ASSERT_TRUE(a.Add(Bytes16{3, 4}));  // 2 is not less than 2
  EXPECT_EQ(a.GetCapacity(), 4);
  EXPECT_EQ(a[0].a, 1);
  EXPECT_EQ(a[1].b, 4);
}

TEST(CArrayTest, FreeSlotsHoldEmptyElementsAfterEveryOperation) {
  using StringArray = CArray<CString>;
  const struct {
    const char* name;
    std::function<void(StringArray&)> op;
    std::vector<const char*> want;
  } rows[] = {
      {"SetSize down", [](StringArray& a) { EXPECT_TRUE(a.SetSize(1)); }, {"A"}},
      {"SetSize 0", [](StringArray& a) { EXPECT_TRUE(a.SetSize(0)); }, {}},
      {"SetSize down and up",
       [](StringArray& a) {
         a.SetSize(1);
         a.SetSize(3);
       },
       {"A", "", ""}},
      {"SetSize grows",
       [](StringArray& a) { EXPECT_TRUE(a.SetSize(9)); },
       {"A", "B", "C", "", "", "", "", "", ""}},
      {"ResetSize", [](StringArray& a) { EXPECT_TRUE(a.ResetSize(2)); }, {"", ""}},
      {"ResetSize grows",
       [](StringArray& a) { EXPECT_TRUE(a.ResetSize(5)); },
       {"", "", "", "", ""}},
      {"Add", [](StringArray& a) { EXPECT_TRUE(a.Add("D")); }, {"A", "B", "C", "D"}},
      {"InsertAt front",
       [](StringArray& a) { EXPECT_TRUE(a.InsertAt(0, "x")); },
       {"x", "A", "B", "C"}},
      {"InsertAt end",
       [](StringArray& a) { EXPECT_TRUE(a.InsertAt(3, "x")); },
       {"A", "B", "C", "x"}},
      {"RemoveAt", [](StringArray& a) { a.RemoveAt(1, 1); }, {"A", "C"}},
      {"RemoveAt two", [](StringArray& a) { a.RemoveAt(0, 2); }, {"C"}},
      {"RemoveLast",
       [](StringArray& a) { EXPECT_STREQ(a.RemoveLast().GetText(), "C"); },
       {"A", "B"}},
      {"ClearElements", [](StringArray& a) { a.ClearElements(); }, {"", "", ""}},
      {"copy smaller", [](StringArray& a) { a = Strings({"y"}); }, {"y"}},
      {"copy larger",
       [](StringArray& a) {
         a = Strings({"1", "2", "3", "4", "5"});
       },
       {"1", "2", "3", "4", "5"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CArray<CString> a = Strings({"A", "B", "C"});
    ASSERT_EQ(a.GetCapacity(), static_cast<int>(64 / sizeof(CString)));
    row.op(a);
    ExpectStrings(a, row.want);
  }
}

TEST(CArrayTest, CopyTakesSameBlockSize) {
  CArray<CString> source = Strings({"A", "B", "C"});
  source.SetSize(1);
  CArray<CString> copy;
  copy = source;
  EXPECT_EQ(copy.GetByteSize(), source.GetByteSize());
  ExpectStrings(copy, {"A"});
  // Through a reference: the same self-assignment, which compilers would flag if written directly.
  const CArray<CString>& same = copy;
  copy = same;
  ExpectStrings(copy, {"A"});
  CArray<CString> fromEmpty = Strings({"A"});
  fromEmpty = CArray<CString>();
  ExpectAllZero(fromEmpty);
}

TEST(CArrayTest, CharArrayStaysZeroTerminated) {
  CArray<char> a;
  std::string want;
  for (int i = 0; i < 40; ++i) {
    const char c = static_cast<char>('a' + i % 26);
    ASSERT_TRUE(a.Add(c));
    want += c;
    ASSERT_STREQ(a.GetData(), want.c_str());
  }
  a.RemoveAt(3, 5);
  want.erase(3, 5);
  EXPECT_STREQ(a.GetData(), want.c_str());
  a.RemoveLast();
  want.pop_back();
  EXPECT_STREQ(a.GetData(), want.c_str());
  ASSERT_TRUE(a.SetSize(4));
  EXPECT_STREQ(a.GetData(), want.substr(0, 4).c_str());
  ASSERT_TRUE(a.InsertAt(0, '\x95'));
  EXPECT_STREQ(a.GetData(), ("\x95" + want.substr(0, 4)).c_str());
}

TEST(CArrayTest, AddingOwnElementSurvivesReallocation) {
  CArray<CString> a = Strings({"A", "B", "C"});
  ASSERT_EQ(a.GetSize() + 1, a.GetCapacity());
  ASSERT_TRUE(a.Add(a[0]));
  ExpectStrings(a, {"A", "B", "C", "A"});

  CArray<CString> b = Strings({"A", "B", "C"});
  ASSERT_TRUE(b.InsertAt(0, b[2]));
  ExpectStrings(b, {"C", "A", "B", "C"});
  ASSERT_TRUE(b.InsertAt(1, b[3]));  // no reallocation, but the slots shift
  ExpectStrings(b, {"C", "C", "A", "B", "C"});
}

TEST(CArrayTest, AllocationFailureEmptiesArray) {
  const struct {
    const char* name;
    std::function<bool(CArray<int>&)> op;
    int size;
  } rows[] = {
      {"Add", [](CArray<int>& a) { return a.Add(9); }, 4},
      {"InsertAt", [](CArray<int>& a) { return a.InsertAt(1, 9); }, 4},
      {"SetSize", [](CArray<int>& a) { return a.SetSize(20); }, 20},
      {"ResetSize", [](CArray<int>& a) { return a.ResetSize(20); }, 20},
      {"copy",
       [](CArray<int>& a) {
         CArray<int> b;
         b.Add(5);
         a = b;
         return a.GetData() != nullptr;
       },
       1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    bool failedOnce = false;
    for (int n = 0;; ++n) {
      ASSERT_LT(n, 5);
      CArray<int> a;
      for (int v : {1, 2, 3}) ASSERT_TRUE(a.Add(v));
      Core::Testing::FailAllocationAfter(n);
      const bool ok = row.op(a);
      Core::Testing::FailAllocationAfter(-1);
      if (ok) {
        EXPECT_EQ(a.GetSize(), row.size);
        break;
      }
      SCOPED_TRACE(n);
      failedOnce = true;
      ExpectAllZero(a);
    }
    EXPECT_TRUE(failedOnce);
  }
}

TEST(CArrayTest, BlocksOver1GiBAreRefused) {
  CArray<char> bytes;
  bytes.Add('a');
  EXPECT_FALSE(bytes.SetSize(1 << 30));
  ExpectAllZero(bytes);
  CArray<Bytes16> wide;
  wide.Add(Bytes16{});
  EXPECT_FALSE(wide.ResetSize(1 << 26));
  ExpectAllZero(wide);
  EXPECT_FALSE(wide.SetSize(-1));
}

TEST(CAutoPtrArrayTest, SoleOwnerReleasesBlock) {
  CAutoPtrArray<unsigned char> owner(new unsigned char[1024]);
  EXPECT_NE(owner.GetData(), nullptr);
  EXPECT_FALSE(owner.IsShared());
  owner.Release();
  EXPECT_EQ(owner.GetData(), nullptr);
  // A leak or double release shows under the address sanitizer.
}

TEST(CAutoPtrArrayTest, SharedBlockStaysWithRemainingOwners) {
  unsigned char* block = new unsigned char[1024];
  auto* first = new CAutoPtrArray<unsigned char>(block);
  auto* second = new CAutoPtrArray<unsigned char>(*first);
  CAutoPtrArray<unsigned char> third(*second);
  EXPECT_TRUE(first->IsShared());
  EXPECT_EQ(third.GetData(), block);

  delete second;  // the middle of the chain
  block[0] = 1;
  EXPECT_TRUE(first->IsShared());
  EXPECT_TRUE(third.IsShared());
  delete first;
  EXPECT_FALSE(third.IsShared());
  EXPECT_EQ(third.GetData()[0], 1);
}
