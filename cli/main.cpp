// tovi-cli entry point: binds the command line to the standard streams.
#include "Cli.h"
#include "Console.h"

namespace {
class CStdConsole : public IConsole {
 public:
  bool Out(const std::string& bytes) override { return Core::WriteStdout(bytes.data(), bytes.size()); }
  void Err(const std::string& bytes) override { Core::WriteStderr(bytes.data(), bytes.size()); }
};
}  // namespace

int main(int argc, char** argv) {
  Core::SetBinaryStdio();
  CStdConsole console;
  return RunCliArguments(argc, argv, console,
                         Core::ConsoleDefaultsToUtf8() ? OutputEncoding::kUtf8 : OutputEncoding::kCp932);
}
