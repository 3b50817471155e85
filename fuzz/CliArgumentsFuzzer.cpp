// The command line. Each token of the input is either a word from a table
// (commands, options, values, file names in the work folder) or, with its
// first byte 0x80 or above, raw bytes. Every argument list goes through
// CArguments::Parse and the number parsers; a list of table words only is
// also run whole by RunCli in the work folder, which it cannot leave.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Cli.h"
#include "foundation/SourceEncoding.h"
#include "foundation/FileSystem.h"
#include "fuzz/FuzzSupport.h"

namespace {

const char* const kWords[] = {"pp",
                              "convert",
                              "list",
                              "info",
                              "new",
                              "add",
                              "--help",
                              "--version",
                              "--",
                              "--disposition",
                              "--disposition=1",
                              "--encoding",
                              "--encoding=cp932",
                              "utf-8",
                              "cp932",
                              "--items",
                              "--items=0,1",
                              "0,2,0",
                              "1,",
                              "-1",
                              "--relative",
                              "--absolute",
                              "--force",
                              "--force=1",
                              "--unknown",
                              "0",
                              "1",
                              "2",
                              "3",
                              "-0",
                              "2147483648",
                              "",
                              "a.c",
                              "b.h",
                              "p.tvx",
                              "q.tvx",
                              "out.c",
                              "out.c.bak",
                              "missing.tvx",
                              "sub",
                              "sub/c.c",
                              "set",
                              "--source-encoding",
                              "--source-encoding=utf-8",
                              "utf-16"};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

class Console : public IConsole {
 public:
  bool Out(const char* bytes, std::size_t size) override {
    m_out.append(bytes, size);
    return true;
  }
  void Err(const std::string& bytes) override { m_err += bytes; }
  std::string m_out, m_err;
};

// The number parsers against a plain reading of the text.
void CheckNumbers(const std::string& text) {
  const bool digits = !text.empty() &&
                      text.find_first_not_of("0123456789", text[0] == '-') == std::string::npos &&
                      text != "-";
  int value = 0;
  const bool parsed = ParseInt(text.c_str(), &value);
  if (digits && text.size() <= 10) {
    const long long want = std::strtoll(text.c_str(), nullptr, 10);
    const bool fits = want >= INT32_MIN && want <= INT32_MAX;
    FUZZ_CHECK(parsed == fits);
    if (parsed) FUZZ_CHECK(value == want);
  } else if (!digits) {
    FUZZ_CHECK(!parsed);
  }
  int disposition = -1;
  FUZZ_CHECK(ParseDisposition(text.c_str(), &disposition) == (parsed && value >= 0 && value <= 2));
  int codePage = -1;
  if (ParseSourceEncoding(text.c_str(), &codePage)) {
    // A known code page whose name parses back to it.
    int again = -1;
    FUZZ_CHECK((codePage == kSourceCp932 || codePage == kSourceUtf8) &&
               ParseSourceEncoding(SourceEncodingName(codePage), &again) && again == codePage);
  } else {
    FUZZ_CHECK(codePage == -1);
  }
}

void CheckParse(const std::vector<Core::CString>& args) {
  static const std::vector<OptionSpec> specs = {{"disposition", true}, {"encoding", true},
                                                {"items", true},       {"source-encoding", true},
                                                {"relative", false},   {"force", false}};
  CArguments parsed;
  if (parsed.Parse(args, specs)) {
    FUZZ_CHECK(parsed.Error().empty() && parsed.Operands().size() <= args.size());
    // Every operand is one of the arguments.
    for (const Core::CString& operand : parsed.Operands()) {
      bool found = false;
      for (const Core::CString& arg : args) found = found || arg == operand;
      FUZZ_CHECK(found);
    }
  } else {
    FUZZ_CHECK(!parsed.Error().empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzSupport::Input in(data, size);
  std::vector<Core::CString> args;
  bool wordsOnly = true;
  while (!in.Empty() && args.size() < 12) {
    const std::uint8_t first = in.Byte();
    std::string arg;
    if (first < 0x80) {
      arg = kWords[first % kWordCount];
    } else {
      arg = in.Bytes(first & 0x3F);
      arg = arg.substr(0, arg.find('\0'));
      wordsOnly = false;
    }
    CheckNumbers(arg);
    args.push_back(arg.c_str());
  }
  CheckParse(args);
  if (!wordsOnly) return 0;

  FuzzSupport::ClearWorkDir();
  FuzzSupport::WriteFile(FuzzSupport::WorkPath("a.c"), "#include \"b.h\"\nX\n");
  FuzzSupport::WriteFile(FuzzSupport::WorkPath("b.h"), "#define X 1\n");
  const Core::CString previous = Core::GetCurrentDir();
  FUZZ_CHECK(Core::SetCurrentDir(FuzzSupport::WorkDir().c_str()));
  Console console;
  const int status = RunCli(args, console, OutputEncoding::kUtf8);
  FUZZ_CHECK(Core::SetCurrentDir(previous));
  FUZZ_CHECK(status == kExitOk || status == kExitAbandoned || status == kExitUsage);
  // A usage error always says what was wrong.
  if (status == kExitUsage) FUZZ_CHECK(!console.m_err.empty());
  return 0;
}
