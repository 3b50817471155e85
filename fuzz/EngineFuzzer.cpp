// Feeds arbitrary bytes through the line pass in every disposition. The
// input is split at its first 0xFF 0xFF pair: the part before is the source,
// the part after is "inc.h" (and "self.h", which includes itself), which the
// source may include.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "FileSystem.h"
#include "PreProcesser.h"

namespace {

void WriteFile(const std::string& path, const char* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
}

const std::string& WorkDir() {
  static const std::string dir = "/tmp/tovi-fuzz-engine-" + std::to_string(getpid());
  static const int made = ::mkdir(dir.c_str(), 0700);
  (void)made;
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  std::size_t sourceSize = size;
  for (std::size_t i = 0; i + 1 < size; ++i) {
    if (data[i] == 0xFF && data[i + 1] == 0xFF) {
      sourceSize = i;
      break;
    }
  }
  const std::string& dir = WorkDir();
  const std::size_t includedStart = sourceSize + 2 <= size ? sourceSize + 2 : size;
  WriteFile(dir + "/inc.h", bytes + includedStart, size - includedStart);
  static const char kSelf[] = "#include \"self.h\"\n";
  WriteFile(dir + "/self.h", kSelf, sizeof kSelf - 1);
  // Included names are looked up from the current directory; libFuzzer's
  // own relative paths need the old one back afterwards.
  const Core::CString previous = Core::GetCurrentDir();
  Core::SetCurrentDir(dir.c_str());

  for (int mode : {0, 1, 2, 7}) {
    CPreProcesser engine;
    const int result = engine.ConvertText(bytes, sourceSize, mode);
    // A stopped item always says why.
    if (!result && engine.GetMessages().IsEmpty()) __builtin_trap();
  }
  Core::SetCurrentDir(previous);
  return 0;
}
