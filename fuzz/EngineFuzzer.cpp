// Feeds arbitrary bytes through the line pass in every disposition. The
// input is split at its first 0xFF 0xFF pair: the part before is the source,
// the part after is "inc.h" (and "self.h", which includes itself), which the
// source may include. An input beginning with 0xF0..0xFF first chooses an
// allocation to fail (FuzzSupport::TakeAllocationFailure). An odd last
// byte reads files without a byte order mark as UTF-8, an even one as code
// page 932.
#include <cstdint>
#include <cstring>
#include <string>

#include "foundation/FileSystem.h"
#include "fuzz/FuzzSupport.h"
#include "engine/PreProcesser.h"
#include "foundation/SourceEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int failAfter = FuzzSupport::TakeAllocationFailure(data, size);
  const char* bytes = reinterpret_cast<const char*>(data);
  std::size_t sourceSize = size;
  for (std::size_t i = 0; i + 1 < size; ++i) {
    if (data[i] == 0xFF && data[i + 1] == 0xFF) {
      sourceSize = i;
      break;
    }
  }
  const std::size_t includedStart = sourceSize + 2 <= size ? sourceSize + 2 : size;
  FuzzSupport::WriteFile(FuzzSupport::WorkPath("inc.h"),
                         std::string(bytes + includedStart, size - includedStart));
  FuzzSupport::WriteFile(FuzzSupport::WorkPath("self.h"), "#include \"self.h\"\n");
  // Included names are looked up from the current directory; libFuzzer's
  // own relative paths need the old one back afterwards.
  const Core::CString previous = Core::GetCurrentDir();
  FUZZ_CHECK(Core::SetCurrentDir(FuzzSupport::WorkDir().c_str()));

  const int codePage = size > 0 && (data[size - 1] & 1) ? kSourceUtf8 : kSourceCp932;
  const bool marked = sourceSize >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0;
  for (int mode : {0, 1, 2, 7}) {
    CPreProcesser engine;
    engine.SetSourceCodePage(codePage);
    FuzzSupport::ArmAllocationFailure(failAfter);
    const int result = engine.ConvertText(bytes, sourceSize, mode);
    FuzzSupport::DisarmAllocationFailure();
    // A stopped item always says why.
    FUZZ_CHECK(result || !engine.GetMessages().IsEmpty());
    // A marked source's output keeps the mark.
    const CTextBuffer& output = engine.GetOutput();
    FUZZ_CHECK(!result || !marked ||
               (output.GetLength() >= 3 && std::memcmp(output.GetText(), "\xEF\xBB\xBF", 3) == 0));
  }
  FUZZ_CHECK(Core::SetCurrentDir(previous));
  return 0;
}
