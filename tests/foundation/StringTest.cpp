#include "foundation/String.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "foundation/Memory.h"

using Core::CString;

namespace {

std::string Repeat(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

// Checks the block rules: null buffer iff capacity 0, a power-of-two
// capacity from 16 above the length, and only zeros after the terminator.
void ExpectSound(const CString& s) {
  const char* buffer = s.GetBuffer();
  const std::uint32_t capacity = s.GetCapacity();
  ASSERT_EQ(buffer == nullptr, capacity == 0);
  if (!buffer) return;
  EXPECT_GE(capacity, 16u);
  EXPECT_EQ(capacity & (capacity - 1), 0u) << capacity;
  const std::uint32_t length = static_cast<std::uint32_t>(s.GetLength());
  ASSERT_LT(length, capacity);
  for (std::uint32_t i = length; i < capacity; ++i) {
    ASSERT_EQ(buffer[i], '\0') << "byte " << i << " of " << capacity;
  }
}

void ExpectNull(const CString& s) {
  EXPECT_EQ(s.GetBuffer(), nullptr);
  EXPECT_EQ(s.GetCapacity(), 0u);
}

}  // namespace

TEST(CStringTest, CapacityIsSmallestPowerOfTwoAboveLength) {
  const struct {
    int length;
    std::uint32_t capacity;
  } rows[] = {{0, 16}, {1, 16}, {15, 16}, {16, 32}, {31, 32}, {32, 64}, {1000, 1024}, {1024, 2048}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.length);
    const std::string text = Repeat('a', row.length);
    const CString built(text.c_str());
    EXPECT_EQ(built.GetCapacity(), row.capacity);
    const CString copied(built);
    EXPECT_EQ(copied.GetCapacity(), row.capacity);
    CString assigned;
    EXPECT_TRUE(assigned = text.c_str());
    EXPECT_EQ(assigned.GetCapacity(), row.capacity);
    EXPECT_STREQ(assigned.GetText(), text.c_str());
    ExpectSound(assigned);
  }
}

TEST(CStringTest, AssignmentKeepsBlockUntilTextNoLongerFits) {
  CString s(Repeat('a', 40).c_str());
  ASSERT_EQ(s.GetCapacity(), 64u);
  EXPECT_TRUE(s = "ab");
  EXPECT_EQ(s.GetCapacity(), 64u);
  EXPECT_TRUE(s = Repeat('b', 63).c_str());
  EXPECT_EQ(s.GetCapacity(), 64u);
  EXPECT_TRUE(s = Repeat('c', 64).c_str());
  EXPECT_EQ(s.GetCapacity(), 128u);
  ExpectSound(s);
}

TEST(CStringTest, EmptyRepresentationsSurviveCopy) {
  const CString never;
  const CString copyOfNever(never);
  ExpectNull(copyOfNever);
  const CString emptyText("");
  const CString copyOfEmpty(emptyText);
  EXPECT_EQ(copyOfEmpty.GetCapacity(), 16u);
  ExpectNull(CString(static_cast<const char*>(nullptr)));
}

TEST(CStringTest, ShorteningLeavesOnlyZerosAfterText) {
  const struct {
    const char* name;
    std::function<void(CString&)> op;
    const char* want;
  } rows[] = {
      {"assign text", [](CString& s) { s = "xy"; }, "xy"},
      {"assign string", [](CString& s) { s = CString("xy"); }, "xy"},
      {"assign null text", [](CString& s) { s = static_cast<const char*>(nullptr); }, ""},
      {"assign null string", [](CString& s) { s = CString(); }, ""},
      {"assign own tail", [](CString& s) { s = s.GetBuffer() + 8; }, "ghij  "},
      {"Empty", [](CString& s) { s.Empty(); }, ""},
      {"AllocBuffer", [](CString& s) { EXPECT_TRUE(s.AllocBuffer(3)); }, ""},
      {"Delete middle", [](CString& s) { s.Delete(2, 3); }, "  defghij  "},
      {"Delete to end", [](CString& s) { s.Delete(4, 100); }, "  ab"},
      {"TrimLeft", [](CString& s) { s.TrimLeft(); }, "abcdefghij  "},
      {"TrimRight", [](CString& s) { s.TrimRight(); }, "  abcdefghij"},
      {"Format", [](CString& s) { s.Format("%d", 7); }, "7"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    CString s("  abcdefghij  ");
    row.op(s);
    EXPECT_STREQ(s.GetText(), row.want);
    EXPECT_NE(s.GetBuffer(), nullptr);
    ExpectSound(s);
  }
}

TEST(CStringTest, AssigningOwnTailKeepsBlock) {
  CString s(Repeat('a', 20).c_str());
  s.GetBuffer()[18] = 'b';
  EXPECT_TRUE(s = s.GetBuffer() + 18);
  EXPECT_STREQ(s.GetText(), "ba");
  EXPECT_EQ(s.GetCapacity(), 32u);
}

TEST(CStringTest, AllocBufferDiscardsTextAndGrowsPastLength) {
  CString s("abc");
  EXPECT_TRUE(s.AllocBuffer(15));
  EXPECT_EQ(s.GetCapacity(), 16u);
  EXPECT_EQ(s.GetLength(), 0);
  EXPECT_TRUE(s.AllocBuffer(16));
  EXPECT_EQ(s.GetCapacity(), 32u);
  EXPECT_TRUE(s.AllocBuffer(0));
  EXPECT_EQ(s.GetCapacity(), 32u);
  ExpectSound(s);
}

TEST(CStringTest, AppendNeedsRoomForBothTextsPlusTwo) {
  const struct {
    const char* start;
    int added;
    std::uint32_t capacity;
  } rows[] = {
      {"a", 1, 16},   // 1 + 1 + 2 = 4
      {"a", 12, 16},  // 15
      {"a", 13, 32},  // 16: grows although 14 bytes of text would fit
      {"a", 14, 32},  // 17
      {"cccccccccccccc", 1, 32},
      {"", 3, 16},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.start) + " + " + std::to_string(row.added));
    const std::string added = Repeat('b', row.added);
    CString text(row.start);
    text += added.c_str();
    EXPECT_STREQ(text.GetText(), (row.start + added).c_str());
    EXPECT_EQ(text.GetCapacity(), row.capacity);
    ExpectSound(text);
    CString string(row.start);
    string += CString(added.c_str());
    EXPECT_STREQ(string.GetText(), (row.start + added).c_str());
    EXPECT_EQ(string.GetCapacity(), row.capacity);
  }
}

TEST(CStringTest, AppendToEmptyCopiesAndEmptyAddsNothing) {
  CString big(Repeat('a', 40).c_str());
  big.Empty();
  big += "abc";
  EXPECT_STREQ(big.GetText(), "abc");
  EXPECT_EQ(big.GetCapacity(), 64u);

  CString never;
  never += CString();
  never += static_cast<const char*>(nullptr);
  ExpectNull(never);
  never += CString("x");
  EXPECT_STREQ(never.GetText(), "x");

  CString s("ab");
  s += CString("");
  s += "";
  EXPECT_STREQ(s.GetText(), "ab");
  EXPECT_EQ(s.GetCapacity(), 16u);
}

TEST(CStringTest, AppendingOwnTextIsSafe) {
  CString s("abcdef");
  s += s;  // fits: no new block
  EXPECT_STREQ(s.GetText(), "abcdefabcdef");
  s += s.GetBuffer();  // grows: read before the old block goes
  EXPECT_STREQ(s.GetText(), "abcdefabcdefabcdefabcdef");
  EXPECT_EQ(s.GetCapacity(), 32u);
}

TEST(CStringTest, AppendCharGrowsOnlyWhenCapacityBelowLengthPlusTwo) {
  const struct {
    int length;
    std::uint32_t capacity;
  } rows[] = {{0, 16}, {14, 16}, {15, 32}, {30, 32}, {31, 64}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.length);
    CString s;
    if (row.length > 0) s = Repeat('a', row.length).c_str();
    s.AppendChar('x');
    EXPECT_STREQ(s.GetText(), (Repeat('a', row.length) + "x").c_str());
    EXPECT_EQ(s.GetCapacity(), row.capacity);
    ExpectSound(s);
  }
  CString kanji("a");
  kanji.AppendChar('\x95');
  kanji.AppendChar('\x5c');
  EXPECT_STREQ(kanji.GetText(), "a\x95\x5c");
}

TEST(CStringTest, PlusJoinsIntoFitBlockAndKeepsOperands) {
  const struct {
    const char* left;
    const char* right;
    const char* want;
    std::uint32_t capacity;
  } rows[] = {
      {"ab", "cd", "abcd", 16},
      {"abcdefg", "hijklmn", "abcdefghijklmn", 16},  // the work copy needs 16, the result 14
      {"abcdefghij", "klmnop", "abcdefghijklmnop", 32},
      {"ab", "", "ab", 16},
      {"", "cd", "cd", 16},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.left) + "+" + row.right);
    const CString left(row.left);
    const CString right(row.right);
    const CString sum = left + right;
    EXPECT_STREQ(sum.GetText(), row.want);
    EXPECT_EQ(sum.GetCapacity(), row.capacity);
    EXPECT_STREQ(left.GetText(), row.left);
    EXPECT_STREQ(right.GetText(), row.right);
    ExpectSound(sum);
  }
  EXPECT_TRUE((CString() + CString()).IsEmpty());
}

TEST(CStringTest, FormatUsesAtLeast1024BytesAndCutsAt1023) {
  CString fresh;
  EXPECT_EQ(fresh.Format("%s=%d", "n", 42), 4);
  EXPECT_STREQ(fresh.GetText(), "n=42");
  EXPECT_EQ(fresh.GetCapacity(), 1024u);

  CString large;
  ASSERT_TRUE(large.AllocBuffer(1500));
  ASSERT_EQ(large.GetCapacity(), 2048u);
  large = Repeat('z', 1500).c_str();
  EXPECT_EQ(large.Format("%u", 5u), 1);
  EXPECT_EQ(large.GetCapacity(), 2048u);
  ExpectSound(large);

  const std::string longText = Repeat('q', 2000);
  CString cut;
  EXPECT_EQ(cut.Format("%s", longText.c_str()), 1023);
  EXPECT_EQ(cut.GetLength(), 1023);
  ExpectSound(cut);
}

TEST(CStringTest, FormatMayReadItsOwnText) {
  CString s("abc");
  s.Format("[%s]", s.GetBuffer());
  EXPECT_STREQ(s.GetText(), "[abc]");
}

TEST(CStringTest, EqualityTreatsBothEmptyFormsAlike) {
  CString emptied(Repeat('a', 40).c_str());
  emptied.Empty();
  const struct {
    CString left;
    CString right;
    bool equal;
  } rows[] = {
      {CString(), CString(""), true},
      {CString(), emptied, true},
      {CString(""), CString("a"), false},
      {CString(), CString("a"), false},
      {CString("abc"), CString("abc"), true},
      {CString("abc"), CString("abd"), false},
      {CString("abc"), CString("ab"), false},
      {CString("A"), CString("a"), false},
      {CString("\x95\x5c"), CString("\x95\x5c"), true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.left.GetText()) + "|" + row.right.GetText());
    EXPECT_EQ(row.left == row.right, row.equal);
    EXPECT_EQ(row.right == row.left, row.equal);
  }
  EXPECT_TRUE(CString().IsEmpty());
  EXPECT_TRUE(emptied.IsEmpty());
  EXPECT_EQ(emptied.GetLength(), 0);
  EXPECT_EQ(CString().GetLength(), 0);
}

TEST(CStringTest, FindReturnsOffsetFromStartOfText) {
  const struct {
    const char* text;
    const char* sub;
    int start;
    int want;
  } rows[] = {
      {"abx", "x", 0, 2},
      {"abcabc", "abc", 1, 3},
      {"abcabc", "abd", 0, -1},
      {"abx", "abc", 14, -1},  // 14 + 3 exceeds the 16-byte block
      {"abx", "x", 3, -1},
      {"abx", "", 1000, -1},
      {"abx", "x", 1000, -1},
      {"abx", "x", -1, -1},
      {"\x95\x5c\x5c", "\x5c", 0, 2},  // the first 0x5C is a trailing byte
      {"\x95\x5c", "\x5c", 0, -1},
      {"\x83\x41"
       "A",
       "A", 0, 2},
      {"\x83\x41\x83\x41", "\x41\x83", 0, -1},
      {"a\x95\x5c"
       "b",
       "\x95\x5c"
       "b",
       0, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.text) + " / " + row.sub + " @" + std::to_string(row.start));
    EXPECT_EQ(CString(row.text).Find(row.sub, row.start), row.want);
  }
  EXPECT_EQ(CString().Find("x"), -1);
}

TEST(CStringTest, FindOffsetsPast32767ArePositive) {
  const std::string text = Repeat('a', 40000) + "b" + Repeat('a', 30000) + "b";
  const CString s(text.c_str());
  EXPECT_EQ(s.Find("b"), 40000);
  EXPECT_EQ(s.Find("b", 40001), 70001);
}

TEST(CStringTest, DeleteMovesTailDownAndZeroesVacatedBytes) {
  const struct {
    int index;
    int count;
    const char* want;
  } rows[] = {
      {2, 10, "ab"},   {1, 2, "adef"},   {0, 6, ""},       {5, 1, "abcde"},
      {0, 1, "bcdef"}, {6, 1, "abcdef"}, {2, 0, "abcdef"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.index) + "," + std::to_string(row.count));
    CString s("abcdef");
    s.Delete(row.index, row.count);
    EXPECT_STREQ(s.GetText(), row.want);
    ExpectSound(s);
  }
}

TEST(CStringTest, TrimLeftSkipsOnlySingleByteSpace) {
  const struct {
    const char* in;
    const char* left;
    const char* right;
  } rows[] = {
      {"\t  a b ", "a b ", "\t  a b"},
      {" \r\n\v\f\tx\t\f\v\n\r ", "x\t\f\v\n\r ", " \r\n\v\f\tx"},
      {"\x81\x40"
       "a\x81\x40",
       "\x81\x40"
       "a\x81\x40",
       "\x81\x40"
       "a\x81\x40"},
      {" \x81\x40 ", "\x81\x40 ", " \x81\x40"},
      {"\x82\xa0 ", "\x82\xa0 ", "\x82\xa0"},
      {"   ", "", ""},
      {"", "", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.in);
    CString left(row.in);
    left.TrimLeft();
    EXPECT_STREQ(left.GetText(), row.left);
    ExpectSound(left);
    CString right(row.in);
    right.TrimRight();
    EXPECT_STREQ(right.GetText(), row.right);
    ExpectSound(right);
  }
  CString never;
  never.TrimLeft();
  never.TrimRight();
  ExpectNull(never);
}

TEST(CStringTest, MakeReverseKeepsDoubleByteCharactersWhole) {
  const struct {
    const char* in;
    const char* want;
  } rows[] = {
      {"abc", "cba"},
      {"a\x95\x5c"
       "b",
       "b\x95\x5c"
       "a"},
      {"\x82\xa0\x82\xa2", "\x82\xa2\x82\xa0"},
      {"a\x95",
       "\x95"
       "a"},  // a lead byte without its second byte stays single
      {"", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.in);
    CString s(row.in);
    s.MakeReverse();
    EXPECT_STREQ(s.GetText(), row.want);
  }
  CString never;
  never.MakeReverse();
  ExpectNull(never);
}

TEST(CStringTest, TokenizeWalksTokensAndLeavesTextUnchanged) {
  const struct {
    const char* text;
    const char* delimiters;
    std::vector<std::string> tokens;
  } rows[] = {
      {"a,b", ",", {"a", "b"}},
      {",,a;b,,;c;", ",;", {"a", "b", "c"}},
      {"a\\\x95\x5c\\b", "\\", {"a", "\x95\x5c", "b"}},
      {"\x83\x7c|x", "|", {"\x83\x7c", "x"}},
      {"\x81\x40"
       "ab\x81\x40\x81\x40\x95\x5c",
       "\x81\x40",
       {"ab", "\x95\x5c"}},
      {"abc", "", {"abc"}},
      {",,,", ",", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    CString s(row.text);
    std::vector<std::string> tokens;
    for (bool first = true;; first = false) {
      const CString token = s.Tokenize(row.delimiters, first);
      if (token.IsEmpty()) break;
      tokens.push_back(token.GetText());
      ASSERT_LT(tokens.size(), 10u);
    }
    EXPECT_EQ(tokens, row.tokens);
    EXPECT_STREQ(s.GetText(), row.text);
    EXPECT_TRUE(s.Tokenize(row.delimiters, false).IsEmpty());
  }
  CString restart("a,b");
  restart.Tokenize(",", true);
  EXPECT_STREQ(restart.Tokenize(",", true).GetText(), "a");
  EXPECT_TRUE(CString().Tokenize(",", true).IsEmpty());
  EXPECT_TRUE(CString("a,b").Tokenize(nullptr, true).IsEmpty());
}

// Fails the Nth allocation for N = 0, 1, 2 ...: each run either completes
// or leaves the string empty without a block, and says so when it can.
TEST(CStringTest, AllocationFailureLeavesStringEmpty) {
  const std::string longText = Repeat('L', 40);
  const CString longString(longText.c_str());
  const CString tail("0123456789abcdef");
  const CString left("ab");
  const CString right("cd");
  const struct {
    const char* name;
    bool reports;
    std::function<bool(CString&)> op;
    std::string want;
  } rows[] = {
      {"construct", false,
       [](CString& s) {
         CString t("abc");
         s.Swap(t);
         return true;
       },
       "abc"},
      {"assign text", true, [&](CString& s) { return s = longText.c_str(); }, longText},
      {"assign string", true, [&](CString& s) { return s = longString; }, longText},
      {"AllocBuffer", true, [](CString& s) { return s.AllocBuffer(100); }, ""},
      {"append text", false,
       [](CString& s) {
         s += "0123456789abcdef";
         return true;
       },
       "ab0123456789abcdef"},
      {"append string", false,
       [&](CString& s) {
         s += tail;
         return true;
       },
       "ab0123456789abcdef"},
      {"AppendChar", false,
       [](CString& s) {
         s = "abcdefghijklmno";
         s.AppendChar('p');
         return true;
       },
       "abcdefghijklmnop"},
      {"plus", false,
       [&](CString& s) {
         CString sum = left + right;
         s.Swap(sum);
         return true;
       },
       "abcd"},
      {"Format", true, [](CString& s) { return s.Format("%s-%d", "x", 1) == 3; }, "x-1"},
      {"TrimLeft", false,
       [](CString& s) {
         s = "  ab";
         s.TrimLeft();
         return true;
       },
       "ab"},
      {"own tail", true,
       [&](CString& s) { return (s = longText.c_str()) && (s = s.GetBuffer() + 38); }, "LL"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    bool failedOnce = false;
    for (int n = 0;; ++n) {
      ASSERT_LT(n, 20);
      SCOPED_TRACE(n);
      CString s("ab");
      Core::Testing::FailAllocationAfter(n);
      const bool reported = row.op(s);
      Core::Testing::FailAllocationAfter(-1);
      ExpectSound(s);
      if (s.GetBuffer()) {
        EXPECT_TRUE(reported);
        EXPECT_EQ(s.GetText(), row.want);
        break;
      }
      failedOnce = true;
      if (row.reports) {
        EXPECT_FALSE(reported) << "failure reported as success";
      }
    }
    EXPECT_TRUE(failedOnce);
  }
}

TEST(CStringTest, BlocksOver1GiBAreRefused) {
  CString s("abc");
  EXPECT_FALSE(s.AllocBuffer(1 << 30));
  ExpectNull(s);
  s = "abc";
  EXPECT_FALSE(s.AllocBuffer(INT_MAX));
  ExpectNull(s);
}
