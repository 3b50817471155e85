// tovi-cli entry point: binds the command line to the standard streams.
#include <cstdlib>
#include <new>

#include "cli/Cli.h"
#include "foundation/Console.h"

namespace {
class CStdConsole : public IConsole {
 public:
  bool Out(const char* bytes, std::size_t size) override { return Core::WriteStdout(bytes, size); }
  void Err(const std::string& bytes) override { Core::WriteStderr(bytes.data(), bytes.size()); }
};
// The engine, the project files and the conversion log allocate only
// through checks of their own. The argument parsing and help texts use the
// standard containers: should even those find no memory, say so and stop
// with the usage status instead of aborting. No file is half-written then,
// since files are only ever replaced whole.
[[noreturn]] void OutOfMemory() {
  static const char kText[] = "tovi-cli: out of memory\n";
  Core::WriteStderr(kText, sizeof kText - 1);
  std::_Exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  std::set_new_handler(OutOfMemory);
  Core::SetBinaryStdio();
  CStdConsole console;
  return RunCliArguments(
      argc, argv, console,
      Core::ConsoleDefaultsToUtf8() ? OutputEncoding::kUtf8 : OutputEncoding::kCp932);
}
