#include "cli/Cli.h"
#include "cli/Commands.h"
#include "engine/ConversionRun.h"

int RunPp(const CommandContext& context) {
  const auto& operands = context.args.Operands();
  ConversionSettings settings;
  settings.pathMode = 0;  // the paths below are absolute
  if (context.args.Has("disposition") &&
      !ParseDisposition(context.args.Value("disposition"), &settings.disposition)) {
    return UsageError(context, "--disposition must be 0, 1 or 2");
  }
  if (context.args.Has("source-encoding") &&
      !ParseSourceEncoding(context.args.Value("source-encoding"), &settings.sourceCodePage)) {
    return UsageError(context, kSourceEncodingError);
  }
  // Both against the current directory: the engine enters the source's
  // folder before it opens the destination.
  Core::CString source;
  Core::CString destination;
  if (!CommandLinePath(context, operands[0], &source) ||
      !CommandLinePath(context, operands[1], &destination)) {
    return kExitUsage;
  }

  Core::CArray<CItem> items;
  Core::CArray<int> indices;
  if (!items.Add(CItem(source, destination)) || !indices.Add(0)) {
    context.console.Err("tovi-cli: out of memory\n");
    return kExitAbandoned;
  }
  return RunConversion(context, items, indices, settings);
}
