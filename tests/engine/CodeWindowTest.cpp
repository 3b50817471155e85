// Each classifier of 64 bytes of code, and the scanner's byte classes,
// against the one set of word ends: every byte value at every place in
// the window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/ByteClasses.h"
#include "engine/CodeWindow.h"

namespace {

bool IsWordEnd(ByteClass c) { return c == kDelimiter || c == kSlash || c == kQuote || c == kEnd; }

void CheckClassifier(CodeWindows::Classifier classify, const char* name) {
  FirstByteSet first;
  first.Clear();
  for (char c : std::string("AN_z0#\x7f\x82")) first.Add(static_cast<unsigned char>(c));
  for (bool utf8 : {false, true}) {
    const CByteClasses& classes = ByteClassesFor(utf8);
    for (int value = 0; value < 256; ++value) {
      const char c = static_cast<char>(value);
      const bool ends = kWordEnds.Has(static_cast<unsigned char>(value));
      ASSERT_EQ(IsWordEnd(classes[c]), ends) << "byte table, byte " << value;
      for (int at = 0; at < 64; ++at) {
        char text[64];
        std::memset(text, 'a', sizeof text);
        text[at] = c;
        const CodeWindow window = classify(text, !utf8, first);
        const std::uint64_t bit = std::uint64_t(1) << at;
        SCOPED_TRACE(testing::Message()
                     << name << (utf8 ? " UTF-8" : " cp932") << " byte " << value << " at " << at);
        ASSERT_EQ((window.wordEnds & bit) != 0, ends);
        ASSERT_EQ(window.wordEnds & ~bit, 0u);  // 'a' joins words
        const bool special = c == '"' || c == '/' || (!utf8 && value >= 0x80);
        ASSERT_EQ((window.special & bit) != 0, special);
        ASSERT_EQ(window.special & ~bit, 0u);
        const bool starts = value >= 0x80 || first.Has(static_cast<unsigned char>(value));
        // A classifier may let every byte start a name, never fewer than those defined.
        ASSERT_TRUE(!starts || (window.starters & bit)) << "a first byte left out";
        if (window.starters != ~std::uint64_t(0)) {
          ASSERT_EQ((window.starters & bit) != 0, starts);
        }
      }
    }
  }
}

}  // namespace

TEST(CodeWindowTest, ClassifiersAgreeWithTheByteClasses) {
  CheckClassifier(CodeWindows::ClassifyPortable, "portable");
  if (CodeWindows::Sse2()) CheckClassifier(CodeWindows::Sse2(), "SSE2");
  if (CodeWindows::Ssse3()) CheckClassifier(CodeWindows::Ssse3(), "SSSE3");
  if (CodeWindows::Avx2()) CheckClassifier(CodeWindows::Avx2(), "AVX2");
}
