#include <string>

#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/ConsoleLog.h"
#include "cli/DepsFile.h"
#include "engine/ConversionRun.h"
#include "cli/ProjectCommands.h"

bool ParseIndices(const Core::CString& text, int itemCount, Core::CArray<int>* indices,
                  std::string* error) {
  const std::string list = text.GetText();
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    const std::string part =
        list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    int index = 0;
    if (!ParseInt(part.c_str(), &index)) {
      *error = "--items needs 0-based item numbers separated by commas";
      return false;
    }
    if (index < 0 || index >= itemCount) {
      *error =
          "item " + part + " is not in the project (it has " + Counted(itemCount, "item") + ")";
      return false;
    }
    bool seen = false;
    for (int i = 0; i < indices->GetSize() && !seen; ++i) seen = (*indices)[i] == index;
    if (!seen && !indices->Add(index)) {
      *error = "out of memory";
      return false;
    }
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

int RunConversion(const CommandContext& context, const Core::CArray<CItem>& items,
                  const Core::CArray<int>& indices, const ConversionSettings& settings) {
  // Taken now: the run changes the current directory.
  const bool withDeps = context.args.Has("deps");
  Core::CString depsPath;
  if (withDeps && !CommandLinePath(context, context.args.Value("deps"), &depsPath)) {
    return kExitUsage;
  }
  // One that cannot be made is reported after the run, which stands.
  CDepsFile deps;
  if (withDeps) (void)deps.Open(depsPath);
  CConsoleLog log(context.console, context.encoding);
  int status = ConvertItems(items, indices, settings, log, withDeps ? &deps : nullptr) == 0
                   ? kExitOk
                   : kExitAbandoned;
  if (withDeps && !deps.Commit()) {
    context.console.Err("tovi-cli: cannot write the dependency file '" +
                        EncodeForConsole(depsPath, context.encoding) + "'\n");
    status = kExitAbandoned;
  }
  return status;
}

int RunConvert(const CommandContext& context) {
  if (context.args.Has("check") && (context.args.Has("changed") || context.args.Has("deps"))) {
    return UsageError(context, "--check writes nothing: it does not go with --changed or --deps");
  }
  CDocument doc;
  if (!LoadProject(context, context.args.Operands()[0], &doc)) return kExitUsage;

  Core::CArray<int> indices;
  if (context.args.Has("items")) {
    std::string error;
    if (!ParseIndices(context.args.Value("items"), doc.GetItemCount(), &indices, &error)) {
      return UsageError(context, error);
    }
  } else {
    for (int i = 0; i < doc.GetItemCount(); ++i) indices.Add(i);
  }

  ConversionSettings settings;
  settings.directory = doc.m_strDirectory;
  settings.pathMode = doc.m_nPathMode;
  settings.disposition = doc.m_nDirectiveMode;
  settings.sourceCodePage = doc.m_nSourceCodePage;
  settings.onlyChanged = context.args.Has("changed");
  if (context.args.Has("check")) return RunCheck(context, doc.m_aItems, indices, settings);
  return RunConversion(context, doc.m_aItems, indices, settings);
}
