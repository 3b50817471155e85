#include "cli/ProjectCommands.h"

#include <string>

#include "cli/Cli.h"
#include "foundation/SourceEncoding.h"
#include "foundation/FileSystem.h"
#include "foundation/Path.h"

bool CommandLinePath(const CommandContext& context, const Core::CString& path,
                     Core::CString* full) {
  if (Core::FullPath(path, full)) return true;
  // Only a relative path needs the current directory, so that is what failed.
  context.console.Err("tovi-cli: the current directory cannot be determined, so '" +
                      EncodeForConsole(path, context.encoding) + "' cannot be made absolute\n");
  return false;
}

bool LoadProject(const CommandContext& context, const Core::CString& path, CDocument* doc) {
  // Item paths are relative to the project's folder, so that folder must be
  // known in full.
  Core::CString full;
  if (!CommandLinePath(context, path, &full)) return false;
  if (doc->Load(full.GetText())) return true;
  ReportProjectMessage(context, *doc);
  return false;
}

void ReportProjectMessage(const CommandContext& context, const CDocument& doc) {
  context.console.Err(EncodeForConsole(doc.m_strMessage, context.encoding));
}

namespace {

std::string Number(int value) { return std::to_string(value); }

// An absolute path in the project's stored form.
Core::CString StoredForm(const CDocument& doc, const Core::CString& absolute) {
  return doc.m_nPathMode != 0 ? Core::RelativePath(absolute, doc.m_strDirectory) : absolute;
}

}  // namespace

int RunList(const CommandContext& context) {
  CDocument doc;
  if (!LoadProject(context, context.args.Operands()[0], &doc)) return kExitUsage;
  for (int i = 0; i < doc.GetItemCount(); ++i) {
    const CItem& item = doc.GetItem(i);
    context.console.Out(EncodeForConsole(item.m_strSource, context.encoding) + "\t" +
                        EncodeForConsole(item.m_strDestination, context.encoding) + "\n");
  }
  return kExitOk;
}

int RunInfo(const CommandContext& context) {
  CDocument doc;
  if (!LoadProject(context, context.args.Operands()[0], &doc)) return kExitUsage;
  context.console.Out("path-mode=" + Number(doc.m_nPathMode) + "\ndisposition=" +
                      Number(doc.m_nDirectiveMode) + "\nitems=" + Number(doc.GetItemCount()) +
                      "\nsource-encoding=" + SourceEncodingName(doc.m_nSourceCodePage) + "\n");
  return kExitOk;
}

const char kSourceEncodingError[] = "--source-encoding must be cp932 or utf-8";

namespace {

// The settings options new and set share; each value stays as it was when
// its option is not given. kExitOk, or the status of a usage error.
int ParseSettings(const CommandContext& context, int* pathMode, int* disposition, int* codePage) {
  const CArguments& args = context.args;
  if (args.Has("relative") && args.Has("absolute")) {
    return UsageError(context, "--relative and --absolute exclude each other");
  }
  if (args.Has("disposition") && !ParseDisposition(args.Value("disposition"), disposition)) {
    return UsageError(context, "--disposition must be 0, 1 or 2");
  }
  if (args.Has("source-encoding") &&
      !ParseSourceEncoding(args.Value("source-encoding"), codePage)) {
    return UsageError(context, kSourceEncodingError);
  }
  if (args.Has("relative")) *pathMode = 1;
  if (args.Has("absolute")) *pathMode = 0;
  return kExitOk;
}

}  // namespace

int RunNew(const CommandContext& context) {
  int pathMode = 1;
  int disposition = 1;
  int codePage = kSourceCp932;
  const int status = ParseSettings(context, &pathMode, &disposition, &codePage);
  if (status != kExitOk) return status;
  const Core::CString& given = context.args.Operands()[0];
  Core::CString path;
  if (!CommandLinePath(context, given, &path)) return kExitUsage;
  if (!context.args.Has("force")) {
    const Core::PathState state = Core::QueryPath(path);
    if (state != Core::PathState::kMissing) {
      context.console.Err("tovi-cli: " + EncodeForConsole(given, context.encoding) +
                          (state == Core::PathState::kPresent
                               ? " exists; use --force to replace it\n"
                               : ": cannot tell whether it exists\n"));
      return kExitAbandoned;
    }
  }
  CDocument doc;
  doc.Reset(pathMode, disposition);
  doc.m_nSourceCodePage = codePage;
  if (!doc.Save(path.GetText())) {
    ReportProjectMessage(context, doc);
    return kExitAbandoned;
  }
  return kExitOk;
}

int RunAdd(const CommandContext& context) {
  const auto& operands = context.args.Operands();
  CDocument doc;
  if (!LoadProject(context, operands[0], &doc)) return kExitUsage;
  Core::CString source;
  Core::CString destination;
  if (!CommandLinePath(context, operands[1], &source) ||
      !CommandLinePath(context, operands[2], &destination)) {
    return kExitUsage;
  }
  if (!doc.AddItem(CItem(StoredForm(doc, source), StoredForm(doc, destination))) || !doc.Save()) {
    ReportProjectMessage(context, doc);
    return kExitAbandoned;
  }
  return kExitOk;
}

int RunSet(const CommandContext& context) {
  const CArguments& args = context.args;
  if (!args.Has("relative") && !args.Has("absolute") && !args.Has("disposition") &&
      !args.Has("source-encoding")) {
    return UsageError(context,
                      "set needs --relative, --absolute, --disposition or --source-encoding");
  }
  // The arguments are checked before the project is read.
  int pathMode = 0;
  int disposition = 0;
  int codePage = 0;
  const int status = ParseSettings(context, &pathMode, &disposition, &codePage);
  if (status != kExitOk) return status;
  CDocument doc;
  if (!LoadProject(context, args.Operands()[0], &doc)) return kExitUsage;
  if (args.Has("relative") || args.Has("absolute")) doc.m_nPathMode = pathMode;
  if (args.Has("disposition")) doc.m_nDirectiveMode = disposition;
  if (args.Has("source-encoding")) doc.m_nSourceCodePage = codePage;
  // The item paths take the form of the path mode, as the project settings
  // dialog leaves them.
  doc.ConvertItemPaths();
  if (!doc.Save()) {
    ReportProjectMessage(context, doc);
    return kExitAbandoned;
  }
  return kExitOk;
}
