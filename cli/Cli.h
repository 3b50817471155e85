// tovi-cli: subcommands over the conversion engine and project files.
#pragma once

#include <vector>

#include "ConsoleOutput.h"
#include "String.h"

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitAbandoned = 1;  // some item was not converted
constexpr int kExitUsage = 2;      // bad arguments or an unusable project

// Runs one command line (without the program name), arguments as code
// page 932 text. `defaultEncoding` is the console's own.
int RunCli(const std::vector<Core::CString>& args, IConsole& console,
           OutputEncoding defaultEncoding);
