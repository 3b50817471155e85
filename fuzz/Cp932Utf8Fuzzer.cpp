// Code page 932 <-> UTF-8 on arbitrary bytes, through both interfaces.
// Text that converts exactly to UTF-8 converts back to code page 932 text
// with the same UTF-8 (two codes of one character come back as one of
// them), and UTF-8 that converts to code page 932 comes back unchanged.
#include <cstdint>
#include <memory>
#include <string>

#include "foundation/Cp932Utf8.h"
#include "fuzz/FuzzSupport.h"

namespace {

void CheckBothWays(const std::string& bytes) {
  std::string utf8;
  if (Core::Cp932ToUtf8(bytes.data(), bytes.size(), &utf8)) {
    std::string cp932;
    FUZZ_CHECK(Core::Utf8ToCp932(utf8.data(), utf8.size(), &cp932));
    std::string again;
    FUZZ_CHECK(Core::Cp932ToUtf8(cp932.data(), cp932.size(), &again) && again == utf8);
  }
  std::string cp932;
  if (Core::Utf8ToCp932(bytes.data(), bytes.size(), &cp932)) {
    std::string back;
    FUZZ_CHECK(Core::Cp932ToUtf8(cp932.data(), cp932.size(), &back) && back == bytes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckBothWays(bytes);

  // The lossy conversion for the log writes no more than the input's
  // length, and agrees with the exact one wherever that succeeds.
  const std::unique_ptr<char[]> lossy(new char[size]);
  const std::size_t stored = Core::Utf8ToCp932Lossy(bytes.data(), size, lossy.get());
  FUZZ_CHECK(stored <= size);
  std::string exactCp932;
  if (Core::Utf8ToCp932(bytes.data(), size, &exactCp932)) {
    FUZZ_CHECK(std::string(lossy.get(), stored) == exactCp932);
  }

  // The CString interface takes NUL-free text: the part before any NUL.
  const std::string text = bytes.substr(0, bytes.find('\0'));
  Core::CString utf8;
  const Core::ConvertResult toUtf8 = Core::Cp932ToUtf8(Core::CString(text.c_str()), &utf8);
  std::string expected;
  const bool exact = Core::Cp932ToUtf8(text.data(), text.size(), &expected);
  FUZZ_CHECK(toUtf8 == (exact ? Core::ConvertResult::kDone : Core::ConvertResult::kInexact));
  FUZZ_CHECK(std::string(utf8.GetText()) == expected);
  Core::CString cp932;
  const Core::ConvertResult toCp932 = Core::Utf8ToCp932(text.c_str(), &cp932);
  std::string expectedCp932;
  if (Core::Utf8ToCp932(text.data(), text.size(), &expectedCp932)) {
    FUZZ_CHECK(toCp932 == Core::ConvertResult::kDone &&
               std::string(cp932.GetText()) == expectedCp932);
  } else {
    FUZZ_CHECK(toCp932 == Core::ConvertResult::kInexact);
  }
  return 0;
}
