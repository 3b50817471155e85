#include "cli/ProjectCommands.h"

#include <string>

#include "cli/Cli.h"
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
  context.console.Out("path-mode=" + Number(doc.m_nPathMode) +
                      "\ndisposition=" + Number(doc.m_nDirectiveMode) +
                      "\nitems=" + Number(doc.GetItemCount()) + "\n");
  return kExitOk;
}

int RunNew(const CommandContext& context) {
  if (context.args.Has("relative") && context.args.Has("absolute")) {
    return UsageError(context, "--relative and --absolute exclude each other");
  }
  int disposition = 1;
  if (context.args.Has("disposition") &&
      !ParseDisposition(context.args.Value("disposition"), &disposition)) {
    return UsageError(context, "--disposition must be 0, 1 or 2");
  }
  const Core::CString& given = context.args.Operands()[0];
  Core::CString path;
  if (!CommandLinePath(context, given, &path)) return kExitUsage;
  if (Core::PathExists(path) && !context.args.Has("force")) {
    context.console.Err("tovi-cli: " + EncodeForConsole(given, context.encoding) +
                        " exists; use --force to replace it\n");
    return kExitAbandoned;
  }
  CDocument doc;
  doc.Reset(context.args.Has("absolute") ? 0 : 1, disposition);
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
