// Whole conversion runs over real files in a folder of their own. The input
// chooses which sources, headers (including each other, in fan-out and
// cycles), destinations and backups exist and what they hold, the items,
// and a few runs with repeated and stray indices in every disposition.
// After each run every destination's content from before the run must be
// in the destination or its backup, and every other file must be as it was.
// An input beginning with 0xF0..0xFF first chooses an allocation to fail
// in the first run (FuzzSupport::TakeAllocationFailure). Each run reads
// sources without a byte order mark in the encoding the input chooses.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/ConversionRun.h"
#include "foundation/SourceEncoding.h"
#include "foundation/FileSystem.h"
#include "fuzz/FuzzSupport.h"

namespace {

#ifdef _WIN32
const char kSeparator[] = "\\";
#else
const char kSeparator[] = "/";
#endif

// Every file a run may read or write.
const char* const kNames[] = {"s0.txt",     "s1.txt",     "h0.h",       "h1.h",
                              "h2.h",       "d0.txt",     "d1.txt",     "d2.txt",
                              "d0.txt.bak", "d1.txt.bak", "s1.txt.bak", "h1.h.bak"};
constexpr int kNameCount = sizeof kNames / sizeof kNames[0];
// What an item may convert, and where to.
const char* const kSources[] = {"s0.txt", "s1.txt", "h0.h", "d0.txt", "missing.txt"};
const char* const kDestinations[] = {"d0.txt", "d1.txt", "d2.txt", "s1.txt", "h1.h"};

class NullLog : public ILogSink {
 public:
  void AppendLog(const Core::CString& text) override { m_bWritten = m_bWritten || !text.IsEmpty(); }
  bool m_bWritten = false;
};

std::string Line(FuzzSupport::Input& in) {
  const std::string word = "W" + std::to_string(in.Pick(3));
  switch (in.Pick(9)) {
    case 0:
      return std::string("#include \"") + kNames[in.Pick(5)] + "\"";
    case 1:
      return "#define " + word + " " + std::to_string(in.Pick(10));
    case 2:
      return "#ifdef " + word;
    case 3:
      return "#else";
    case 4:
      return "#endif";
    case 5:
      return "#undef " + word;
    case 6:
      return word + " text";
    case 7:
      return std::string("#include \"") + kNames[in.Pick(kNameCount)] + "\"";
    default:
      return in.Bytes(16);
  }
}

std::string Content(FuzzSupport::Input& in) {
  std::string text;
  const int lines = in.Pick(8);
  for (int i = 0; i < lines; ++i) text += Line(in) + (in.Pick(4) ? "\r\n" : "\n");
  return text;
}

// Every file in the folder with its bytes.
std::map<std::string, std::string> Snapshot() {
  std::map<std::string, std::string> files;
  for (const char* name : kNames) {
    std::string bytes;
    if (FuzzSupport::ReadFile(FuzzSupport::WorkPath(name), &bytes)) files[name] = bytes;
  }
  for (const char* name : kDestinations) {
    std::string bytes;
    if (FuzzSupport::ReadFile(FuzzSupport::WorkPath(name), &bytes)) files[name] = bytes;
    if (FuzzSupport::ReadFile(FuzzSupport::WorkPath(std::string(name) + ".bak"), &bytes)) {
      files[std::string(name) + ".bak"] = bytes;
    }
  }
  return files;
}

// With TOVI_FUZZ_TRACE set, prints each run's items, indices and files.
void Trace(const char* what, const std::map<std::string, std::string>& files) {
  if (!std::getenv("TOVI_FUZZ_TRACE")) return;
  std::fprintf(stderr, "%s\n", what);
  for (const auto& [name, bytes] : files) {
    std::fprintf(stderr, "  %s: %zu bytes, hash %zu\n", name.c_str(), bytes.size(),
                 std::hash<std::string>()(bytes));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int failAfter = FuzzSupport::TakeAllocationFailure(data, size);
  FuzzSupport::Input in(data, size);
  FuzzSupport::ClearWorkDir();
  for (const char* name : kNames) {
    if (in.Pick(4)) FuzzSupport::WriteFile(FuzzSupport::WorkPath(name), Content(in));
  }

  ConversionSettings settings;
  settings.directory = (FuzzSupport::WorkDir() + kSeparator).c_str();
  settings.pathMode = in.Pick(2);
  Core::CArray<CItem> items;
  std::vector<std::string> destinationNames;
  const std::string prefix =
      settings.pathMode ? std::string(".") + kSeparator : FuzzSupport::WorkDir() + kSeparator;
  const int itemCount = 1 + in.Pick(4);
  for (int i = 0; i < itemCount; ++i) {
    const std::string source = kSources[in.Pick(5)];
    destinationNames.push_back(kDestinations[in.Pick(5)]);
    FUZZ_CHECK(
        items.Add(CItem((prefix + source).c_str(), (prefix + destinationNames.back()).c_str())));
  }

  const Core::CString previous = Core::GetCurrentDir();
  const int runs = 1 + in.Pick(3);
  for (int run = 0; run < runs; ++run) {
    settings.disposition = in.Pick(3);
    settings.sourceCodePage = in.Pick(2) ? kSourceUtf8 : kSourceCp932;
    Core::CArray<int> indices;
    std::set<std::string> destinations;
    const int count = 1 + in.Pick(6);
    for (int i = 0; i < count; ++i) {
      // Now and then an index below zero or past the end, which names no item.
      const int index = in.Pick(itemCount + 1) - (in.Pick(8) == 0 ? itemCount + 1 : 0);
      FUZZ_CHECK(indices.Add(index));
      if (index >= 0 && index < itemCount) destinations.insert(destinationNames[index]);
    }

    const std::map<std::string, std::string> before = Snapshot();
    if (std::getenv("TOVI_FUZZ_TRACE")) {
      std::fprintf(stderr, "run %d, disposition %d, path mode %d, fail after %d\n", run,
                   settings.disposition, settings.pathMode, failAfter);
      for (int i = 0; i < itemCount; ++i) {
        std::fprintf(stderr, "  item %d: %s -> %s\n", i, items[i].m_strSource.GetText(),
                     items[i].m_strDestination.GetText());
      }
      for (int i = 0; i < indices.GetSize(); ++i) std::fprintf(stderr, "  index %d\n", indices[i]);
    }
    Trace("before", before);
    NullLog log;
    FuzzSupport::ArmAllocationFailure(failAfter);
    failAfter = -1;
    const int abandoned = ConvertItems(items, indices, settings, log);
    FuzzSupport::DisarmAllocationFailure();
    FUZZ_CHECK(Core::SetCurrentDir(previous));
    FUZZ_CHECK(abandoned >= 0 && abandoned <= count && log.m_bWritten);

    const std::map<std::string, std::string> after = Snapshot();
    Trace("after", after);
    for (const auto& [name, bytes] : before) {
      const auto now = after.find(name);
      if (now != after.end() && now->second == bytes) continue;
      if (destinations.count(name)) {
        // A replaced destination's old content is in its backup.
        const auto backup = after.find(name + ".bak");
        FUZZ_CHECK(backup != after.end() && backup->second == bytes);
      } else {
        // Only a destination's backup may change, and only to a content
        // that was its destination's before the run.
        const bool isBackup = name.size() > 4 && name.compare(name.size() - 4, 4, ".bak") == 0;
        const std::string owner = isBackup ? name.substr(0, name.size() - 4) : std::string();
        FUZZ_CHECK(isBackup && destinations.count(owner));
      }
    }
  }
  return 0;
}
