#include "Cli.h"
#include "Commands.h"
#include "ConsoleLog.h"
#include "ConversionRun.h"

int RunPp(const CommandContext& context) {
  const auto& operands = context.args.Operands();
  if (operands.size() != 2) return UsageError(context, "pp needs SOURCE and DEST");

  ConversionSettings settings;
  settings.pathMode = 0;  // the paths are used as given
  if (context.args.Has("disposition") &&
      !ParseInt(context.args.Value("disposition"), &settings.disposition)) {
    return UsageError(context, "--disposition needs a whole number (0, 1 or 2)");
  }

  Core::CArray<CItem> items;
  Core::CArray<int> indices;
  if (!items.Add(CItem(operands[0], operands[1])) || !indices.Add(0)) {
    context.console.Err("tovi-cli: out of memory\n");
    return kExitAbandoned;
  }
  CConsoleLog log(context.console, context.encoding);
  return ConvertItems(items, indices, settings, log) == 0 ? kExitOk : kExitAbandoned;
}
