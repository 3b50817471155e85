#include "cli/Cli.h"

#include <string>

#include "cli/Commands.h"
#include "foundation/Console.h"
#include "ToviVersion.h"

namespace {

const OptionSpec kEncodingOption = {"encoding", true};
const OptionSpec kHelpOption = {"help", false};

std::string ListText() {
  std::string text =
      "usage: tovi-cli COMMAND [OPTIONS] ARGUMENTS\n"
      "       tovi-cli --help | --version\n"
      "\n"
      "Converts source files with Tovi's preprocessor and manages Tovi projects (.tvx).\n"
      "\n"
      "commands:\n";
  for (const Command& command : Commands()) {
    std::string name = command.name;
    name.resize(10, ' ');
    text += "  " + name + command.description + "\n";
  }
  text +=
      "\n"
      "'tovi-cli COMMAND --help' describes a command.\n"
      "\n"
      "Paths given on the command line are taken against the current directory as\n"
      "the system takes them: on Windows \\dir is on the current drive's root, / also\n"
      "separates and .. is resolved; on Linux . and .. are resolved by name. Paths\n"
      "inside a project are taken against the project file's folder. On Linux every\n"
      "argument is UTF-8 text that code page 932 can hold; any other is refused.\n"
      "\n"
      "Exit status: 0 done, 1 an item was abandoned, 2 bad arguments, a project that\n"
      "cannot be used, or standard output that cannot be written.\n";
  return text;
}

std::string CommandHelpText(const Command& command) {
  return std::string("usage: tovi-cli ") + command.synopsis + "\n\n" + command.description +
         "\n\n" + command.details;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& command : Commands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

bool ParseEncoding(const Core::CString& text, OutputEncoding* encoding) {
  const std::string name = text.GetText();
  if (name == "utf-8" || name == "utf8" || name == "UTF-8") {
    *encoding = OutputEncoding::kUtf8;
  } else if (name == "cp932" || name == "CP932") {
    *encoding = OutputEncoding::kCp932;
  } else {
    return false;
  }
  return true;
}

int GeneralUsageError(IConsole& console, const std::string& message) {
  console.Err("tovi-cli: " + message + "\nTry 'tovi-cli --help'.\n");
  return kExitUsage;
}

std::string Quoted(const Core::CString& text, OutputEncoding encoding) {
  return "'" + EncodeForConsole(text, encoding) + "'";
}

// "A", "A and B", "A, B and C".
std::string NameList(const std::vector<const char*>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) list += i + 1 == names.size() ? " and " : ", ";
    list += names[i];
  }
  return list;
}

// Exactly the command's operands, none empty; else a usage error.
int CheckOperands(const CommandContext& context) {
  const std::vector<const char*>& names = context.command.operands;
  const std::vector<Core::CString>& operands = context.args.Operands();
  if (operands.size() > names.size()) {
    return UsageError(context,
                      "unexpected argument " + Quoted(operands[names.size()], context.encoding));
  }
  if (operands.size() < names.size()) {
    return UsageError(context, std::string(context.command.name) + " needs " + NameList(names));
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (operands[i].IsEmpty())
      return UsageError(context, std::string(names[i]) + " must not be empty");
  }
  return kExitOk;
}

// Passes everything on and remembers whether standard output failed; after
// a failure nothing more is written there.
class CWatchedConsole : public IConsole {
 public:
  explicit CWatchedConsole(IConsole& console) : m_console(console) {}
  bool Out(const char* bytes, std::size_t size) override {
    if (!m_bFailed) m_bFailed = !m_console.Out(bytes, size);
    return !m_bFailed;
  }
  void Err(const std::string& bytes) override { m_console.Err(bytes); }
  bool Failed() const { return m_bFailed; }

 private:
  IConsole& m_console;
  bool m_bFailed = false;
};

int RunCommand(const Command& command, const std::vector<Core::CString>& rest, IConsole& console,
               OutputEncoding defaultEncoding) {
  std::vector<OptionSpec> specs = command.options;
  specs.push_back(kEncodingOption);
  specs.push_back(kHelpOption);
  CArguments parsed;
  OutputEncoding encoding = defaultEncoding;
  const CommandContext context{command, parsed, console, encoding};
  if (!parsed.Parse(rest, specs)) return UsageError(context, parsed.Error());
  if (parsed.Has("help")) {
    console.Out(CommandHelpText(command));
    return kExitOk;
  }
  if (parsed.Has("encoding") && !ParseEncoding(parsed.Value("encoding"), &encoding)) {
    return UsageError(context, "--encoding must be utf-8 or cp932");
  }
  const CommandContext chosen{command, parsed, console, encoding};
  const int checked = CheckOperands(chosen);
  return checked != kExitOk ? checked : command.run(chosen);
}

int Dispatch(const std::vector<Core::CString>& args, IConsole& console,
             OutputEncoding defaultEncoding) {
  if (args.empty()) {
    console.Err(ListText());
    return kExitUsage;
  }
  const std::string first = args[0].GetText();
  const bool general =
      first == "--help" || first == "-h" || first == "--version" || first == "help";
  const std::size_t allowed = first == "help" ? 2 : 1;
  if (general && args.size() > allowed) {
    return GeneralUsageError(console,
                             "unexpected argument " + Quoted(args[allowed], defaultEncoding));
  }
  if (first == "--help" || first == "-h" || (first == "help" && args.size() == 1)) {
    console.Out(ListText());
    return kExitOk;
  }
  if (first == "--version") {
    console.Out("tovi-cli " TOVI_VERSION_TEXT "\n");
    return kExitOk;
  }
  if (first == "help") {
    const Command* command = FindCommand(args[1].GetText());
    if (!command)
      return GeneralUsageError(console, "unknown command " + Quoted(args[1], defaultEncoding));
    console.Out(CommandHelpText(*command));
    return kExitOk;
  }
  const Command* command = FindCommand(first);
  if (!command)
    return GeneralUsageError(console, "unknown command " + Quoted(args[0], defaultEncoding));
  return RunCommand(*command, std::vector<Core::CString>(args.begin() + 1, args.end()), console,
                    defaultEncoding);
}

// Raw argument bytes for a message: UTF-8 sequences as they are, any other
// byte as \xNN, so that the message itself stays readable text.
std::string Printable(const std::string& raw) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < raw.size();) {
    const unsigned char c = static_cast<unsigned char>(raw[i]);
    std::size_t length = c < 0x80                 ? 1
                         : c >= 0xC2 && c <= 0xDF ? 2
                         : c >= 0xE0 && c <= 0xEF ? 3
                         : c >= 0xF0 && c <= 0xF4 ? 4
                                                  : 0;
    for (std::size_t k = 1; k < length; ++k) {
      if (i + k >= raw.size() || (static_cast<unsigned char>(raw[i + k]) & 0xC0) != 0x80)
        length = 0;
    }
    if (length == 0) {
      text += "\\x";
      text += kHex[c >> 4];
      text += kHex[c & 0xF];
      ++i;
    } else {
      text.append(raw, i, length);
      i += length;
    }
  }
  return text;
}

}  // namespace

int UsageError(const CommandContext& context, const std::string& message) {
  context.console.Err("tovi-cli: " + message + "\nusage: tovi-cli " + context.command.synopsis +
                      "\n");
  return kExitUsage;
}

int RunCli(const std::vector<Core::CString>& args, IConsole& console,
           OutputEncoding defaultEncoding) {
  CWatchedConsole watched(console);
  const int status = Dispatch(args, watched, defaultEncoding);
  if (!watched.Failed()) return status;
  console.Err("tovi-cli: standard output could not be written\n");
  return kExitUsage;
}

int RunCliArguments(int argc, const char* const* argv, IConsole& console,
                    OutputEncoding defaultEncoding) {
  std::vector<Core::CString> args;
  for (int i = 1; i < argc; ++i) {
    Core::CString text;
    if (!Core::ArgumentText(argv[i], &text)) {
      console.Err("tovi-cli: argument " + std::to_string(i) + " '" + Printable(argv[i]) +
                  "' is not UTF-8 text that code page 932 can hold\n");
      return kExitUsage;
    }
    args.push_back(text);
  }
  return RunCli(args, console, defaultEncoding);
}
