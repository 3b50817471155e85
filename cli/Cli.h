// tovi-cli: subcommands over the conversion engine and project files.
#pragma once

#include <vector>

#include "cli/ConsoleOutput.h"
#include "foundation/String.h"

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitAbandoned = 1;  // some item was not converted
constexpr int kExitUsage = 2;      // bad arguments, an unusable project, or no output

// Runs one command line (without the program name), arguments as code
// page 932 text. `defaultEncoding` is the console's own. When standard
// output cannot be written, says so on standard error and returns kExitUsage.
int RunCli(const std::vector<Core::CString>& args, IConsole& console,
           OutputEncoding defaultEncoding);

// Runs the program's own arguments (argv[1] ...): each must be text the
// system's encoding and code page 932 both hold, or none is run.
int RunCliArguments(int argc, const char* const* argv, IConsole& console,
                    OutputEncoding defaultEncoding);
