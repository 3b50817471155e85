#include "ProjectCommands.h"

#include <string>

#include "Cli.h"
#include "FileSystem.h"
#include "Path.h"

bool LoadProject(const CommandContext& context, const Core::CString& path, CDocument* doc) {
  // Item paths are relative to the project's folder, so that folder must be
  // known in full: a project named relative to the current directory is
  // loaded by its absolute path.
  const Core::CString full = Core::AbsolutePath(path, Core::GetCurrentDir());
  if (doc->Load(full.GetText())) return true;
  ReportProjectMessage(context, *doc);
  return false;
}

void ReportProjectMessage(const CommandContext& context, const CDocument& doc) {
  context.console.Err(EncodeForConsole(doc.m_strMessage, context.encoding));
}

namespace {

std::string Number(int value) { return std::to_string(value); }

// A path as the item dialog hands it over: absolute against the current
// directory, then in the project's stored form against its directory.
Core::CString StoredForm(const CDocument& doc, const Core::CString& path) {
  Core::CString base = Core::GetCurrentDir();
  const Core::CString absolute = Core::AbsolutePath(path, base);
  return doc.m_nPathMode != 0 ? Core::RelativePath(absolute, doc.m_strDirectory)
                              : Core::AbsolutePath(absolute, doc.m_strDirectory);
}

}  // namespace

int RunList(const CommandContext& context) {
  const auto& operands = context.args.Operands();
  if (operands.size() != 1) return UsageError(context, "list needs PROJECT");
  CDocument doc;
  if (!LoadProject(context, operands[0], &doc)) return kExitUsage;
  for (int i = 0; i < doc.GetItemCount(); ++i) {
    const CItem& item = doc.GetItem(i);
    context.console.Out(EncodeForConsole(item.m_strSource, context.encoding) + "\t" +
                        EncodeForConsole(item.m_strDestination, context.encoding) + "\n");
  }
  return kExitOk;
}

int RunInfo(const CommandContext& context) {
  const auto& operands = context.args.Operands();
  if (operands.size() != 1) return UsageError(context, "info needs PROJECT");
  CDocument doc;
  if (!LoadProject(context, operands[0], &doc)) return kExitUsage;
  context.console.Out("path-mode=" + Number(doc.m_nPathMode) + "\ndisposition=" +
                      Number(doc.m_nDirectiveMode) + "\nitems=" + Number(doc.GetItemCount()) +
                      "\n");
  return kExitOk;
}

int RunNew(const CommandContext& context) {
  const auto& operands = context.args.Operands();
  if (operands.size() != 1) return UsageError(context, "new needs PROJECT");
  if (context.args.Has("relative") && context.args.Has("absolute")) {
    return UsageError(context, "--relative and --absolute exclude each other");
  }
  int disposition = 1;
  if (context.args.Has("disposition") &&
      !ParseInt(context.args.Value("disposition"), &disposition)) {
    return UsageError(context, "--disposition needs a whole number (0, 1 or 2)");
  }
  const Core::CString& path = operands[0];
  if (Core::PathExists(path) && !context.args.Has("force")) {
    context.console.Err("tovi-cli: " + EncodeForConsole(path, context.encoding) +
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
  if (operands.size() != 3) return UsageError(context, "add needs PROJECT SOURCE DEST");
  CDocument doc;
  if (!LoadProject(context, operands[0], &doc)) return kExitUsage;
  if (operands[1].IsEmpty() || operands[2].IsEmpty()) {
    return UsageError(context, "SOURCE and DEST must not be empty");
  }
  if (!doc.AddItem(CItem(StoredForm(doc, operands[1]), StoredForm(doc, operands[2]))) ||
      !doc.Save()) {
    ReportProjectMessage(context, doc);
    return kExitAbandoned;
  }
  return kExitOk;
}
