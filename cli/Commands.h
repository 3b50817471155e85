// The subcommands of tovi-cli and what they share.
#pragma once

#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/ConsoleOutput.h"
#include "engine/ConversionRun.h"
#include "foundation/String.h"

struct Command;

struct CommandContext {
  const Command& command;
  const CArguments& args;
  IConsole& console;
  OutputEncoding encoding;
};

struct Command {
  const char* name;
  const char* synopsis;     // the usage line after "tovi-cli "
  const char* description;  // one line for the command list
  const char* details;      // option lines for "tovi-cli NAME --help"
  std::vector<OptionSpec> options;
  // The operands' names in order: the command runs only with exactly these,
  // none of them empty.
  std::vector<const char*> operands;
  int (*run)(const CommandContext& context);
};

const std::vector<Command>& Commands();

// Writes "tovi-cli: MESSAGE" and the command's usage line to standard
// error; returns kExitUsage.
int UsageError(const CommandContext& context, const std::string& message);

// Makes a path given on the command line absolute (Core::FullPath). On
// failure writes why to standard error and returns false.
bool CommandLinePath(const CommandContext& context, const Core::CString& path, Core::CString* full);

// Parses "I,J,..." into 0-based indices, each kept once in first-seen
// order; false with a message for anything that is not a list of item
// numbers of this project.
bool ParseIndices(const Core::CString& text, int itemCount, Core::CArray<int>* indices,
                  std::string* error);

// Converts the items and prints the log; with --deps also writes the
// dependency file. Returns the exit status.
int RunConversion(const CommandContext& context, const Core::CArray<CItem>& items,
                  const Core::CArray<int>& indices, const ConversionSettings& settings);

int RunPp(const CommandContext& context);
int RunConvert(const CommandContext& context);
// Checks the chosen items' destinations without writing anything.
int RunCheck(const CommandContext& context, const Core::CArray<CItem>& items,
             const Core::CArray<int>& indices, const ConversionSettings& settings);
int RunList(const CommandContext& context);
int RunInfo(const CommandContext& context);
int RunNew(const CommandContext& context);
int RunAdd(const CommandContext& context);
int RunSet(const CommandContext& context);
// Converts, then converts again whatever a change concerns, until interrupted.
int RunWatch(const CommandContext& context);

extern const char kSourceEncodingError[];
