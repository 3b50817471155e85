// tovi-cli entry point: binds the command line to the standard streams.
#include <vector>

#include "Cli.h"
#include "Console.h"

namespace {
class CStdConsole : public IConsole {
 public:
  void Out(const std::string& bytes) override { Core::WriteStdout(bytes.data(), bytes.size()); }
  void Err(const std::string& bytes) override { Core::WriteStderr(bytes.data(), bytes.size()); }
};
}  // namespace

int main(int argc, char** argv) {
  Core::SetBinaryStdio();
  std::vector<Core::CString> args;
  for (int i = 1; i < argc; ++i) args.push_back(Core::ArgumentText(argv[i]));
  CStdConsole console;
  return RunCli(args, console,
                Core::ConsoleDefaultsToUtf8() ? OutputEncoding::kUtf8 : OutputEncoding::kCp932);
}
