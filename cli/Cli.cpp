#include "Cli.h"

#include <string>

#include "Commands.h"
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
      "'tovi-cli COMMAND --help' describes a command. Exit status: 0 done, 1 an item\n"
      "was abandoned, 2 bad arguments or a project that cannot be used.\n";
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

}  // namespace

int UsageError(const CommandContext& context, const std::string& message) {
  context.console.Err("tovi-cli: " + message + "\nusage: tovi-cli " + context.command.synopsis +
                      "\n");
  return kExitUsage;
}

int RunCli(const std::vector<Core::CString>& args, IConsole& console,
           OutputEncoding defaultEncoding) {
  if (args.empty()) {
    console.Err(ListText());
    return kExitUsage;
  }
  const std::string first = args[0].GetText();
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
    if (!command) return GeneralUsageError(console, "unknown command '" + std::string(args[1].GetText()) + "'");
    console.Out(CommandHelpText(*command));
    return kExitOk;
  }
  const Command* command = FindCommand(first);
  if (!command) return GeneralUsageError(console, "unknown command '" + first + "'");

  std::vector<OptionSpec> specs = command->options;
  specs.push_back(kEncodingOption);
  specs.push_back(kHelpOption);
  CArguments parsed;
  const std::vector<Core::CString> rest(args.begin() + 1, args.end());
  OutputEncoding encoding = defaultEncoding;
  const CommandContext context{*command, parsed, console, encoding};
  if (!parsed.Parse(rest, specs)) return UsageError(context, parsed.Error());
  if (parsed.Has("help")) {
    console.Out(CommandHelpText(*command));
    return kExitOk;
  }
  if (parsed.Has("encoding") && !ParseEncoding(parsed.Value("encoding"), &encoding)) {
    return UsageError(context, "--encoding must be utf-8 or cp932");
  }
  return command->run(CommandContext{*command, parsed, console, encoding});
}
