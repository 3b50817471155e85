// tovi-cli watch: an incremental pass over the project's items, then one
// over the items each change concerns, until Ctrl+C.
#include <atomic>
#include <string>

#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/ProjectCommands.h"
#include "engine/WatchedItems.h"
#include "foundation/ChangeWatch.h"
#include "foundation/Interrupt.h"
#include "foundation/Memory.h"

namespace {

// The log as convert prints it; remembers whether standard output failed,
// since nobody is left to read a watch whose output pipe closed.
class CPassLog : public ILogSink {
 public:
  CPassLog(IConsole& console, OutputEncoding encoding) : m_console(console), m_encoding(encoding) {}
  void AppendLog(const Core::CString& text) override {
    if (!WriteForConsole(m_console, text, m_encoding)) m_bFailed = true;
  }
  bool Failed() const { return m_bFailed; }

 private:
  IConsole& m_console;
  OutputEncoding m_encoding;
  bool m_bFailed = false;
};

// The chosen items of the project and how they are converted.
struct Project {
  Core::CArray<CItem> items;
  ConversionSettings settings;
  Core::FileLook seen;  // the project file before it was loaded
};

// Loads the project and takes the items --items names (all without it).
// On failure the message has gone to standard error, or is in *error for
// a bad --items.
bool LoadChosen(const CommandContext& context, const Core::CString& path, Project* project,
                std::string* error) {
  project->seen = Core::LookAtFile(path);
  CDocument doc;
  if (!LoadProject(context, path, &doc)) return false;
  const Core::CAllocationWatch memory;
  Core::CArray<int> indices;
  if (context.args.Has("items")) {
    if (!ParseIndices(context.args.Value("items"), doc.GetItemCount(), &indices, error)) {
      return false;
    }
  } else {
    for (int i = 0; i < doc.GetItemCount(); ++i) (void)indices.Add(i);
  }
  project->items.RemoveAll();
  for (int i = 0; i < indices.GetSize(); ++i) (void)project->items.Add(doc.m_aItems[indices[i]]);
  project->settings.directory = doc.m_strDirectory;
  project->settings.pathMode = doc.m_nPathMode;
  project->settings.disposition = doc.m_nDirectiveMode;
  project->settings.sourceCodePage = doc.m_nSourceCodePage;
  project->settings.onlyChanged = true;
  project->settings.lookAtInputs = true;
  if (!memory.Failed()) return true;
  *error = "out of memory";
  return false;
}

void ReportOutOfMemory(const CommandContext& context) {
  context.console.Err("tovi-cli: out of memory\n");
}

// How the watch learns of changes, for the line that says it has begun.
std::string HowWatched(const Core::CChangeWatch& watch) {
  const std::string polled = "polling every " + std::to_string(Core::CChangeWatch::kPollMs) + " ms";
  if (!watch.IsNotifying()) return polled;
  if (!watch.IsPolling()) return "change notification";
  return "change notification; " + polled + " where it is unavailable";
}

class CWatchRun {
 public:
  CWatchRun(const CommandContext& context, const std::atomic<bool>& stop)
      : m_context(context),
        m_stop(stop),
        m_watch(context.args.Has("poll")),
        m_log(context.console, context.encoding) {}

  int Run() {
    if (!CommandLinePath(m_context, m_context.args.Operands()[0], &m_strPath)) return kExitUsage;
    std::string error;
    if (!LoadChosen(m_context, m_strPath, &m_project, &error)) {
      return error.empty() ? kExitUsage : UsageError(m_context, error);
    }
    if (!m_watched.Reset(m_project.items, m_project.settings, m_strPath, m_project.seen) ||
        !PassOverAll()) {
      return Failure();
    }
    m_context.console.Err("tovi-cli: watching " + Counted(m_nFiles, "file") + " by " +
                          HowWatched(m_watch) + "; Ctrl+C ends\n");
    Core::CArray<Core::CString> changed;
    for (;;) {
      const Core::CChangeWatch::WaitResult result = m_watch.Wait(-1, &m_stop, &changed);
      if (result == Core::CChangeWatch::WaitResult::kStopped) return kExitOk;
      if (result != Core::CChangeWatch::WaitResult::kChanged) continue;
      if (!Changed(changed)) return Failure();
    }
  }

 private:
  // A pass over the items the changes concern, or over every item when
  // the project changed and could be loaded again.
  bool Changed(const Core::CArray<Core::CString>& changed) {
    if (m_watched.ProjectChanged(changed)) {
      Project reloaded;
      std::string error;
      if (LoadChosen(m_context, m_strPath, &reloaded, &error)) {
        m_project.items.Swap(reloaded.items);
        m_project.settings = reloaded.settings;
        m_project.seen = reloaded.seen;
        return m_watched.Reset(m_project.items, m_project.settings, m_strPath, m_project.seen) &&
               PassOverAll();
      }
      if (!error.empty()) m_context.console.Err("tovi-cli: " + error + "\n");
      m_context.console.Err("tovi-cli: watching goes on with the project as it was\n");
    }
    Core::CArray<int> indices;
    if (!m_watched.ItemsConcerned(changed, &indices)) return false;
    return indices.GetSize() == 0 || Pass(indices);
  }

  bool PassOverAll() {
    Core::CArray<int> indices;
    for (int i = 0; i < m_project.items.GetSize(); ++i) {
      if (!indices.Add(i)) return false;
    }
    return Pass(indices);
  }

  // Converts the items, then watches what they read now, from how it
  // stood when they read it.
  bool Pass(const Core::CArray<int>& indices) {
    (void)ConvertItems(m_project.items, indices, m_project.settings, m_log, &m_watched, &m_stop);
    Core::CArray<Core::CString> files;
    Core::CArray<Core::FileLook> seen;
    if (m_log.Failed() || !m_watched.Files(&files, &seen) || !m_watch.SetFiles(files, &seen)) {
      return false;
    }
    m_nFiles = files.GetSize();
    return true;
  }

  // Standard output that failed is reported by the caller of the command.
  int Failure() {
    if (!m_log.Failed()) ReportOutOfMemory(m_context);
    return kExitUsage;
  }

  const CommandContext& m_context;
  const std::atomic<bool>& m_stop;
  Core::CString m_strPath;
  Project m_project;
  CWatchedItems m_watched;
  Core::CChangeWatch m_watch;
  CPassLog m_log;
  int m_nFiles = 0;
};

}  // namespace

int RunWatch(const CommandContext& context) {
  // The handlers hold on to the flag for the rest of the process.
  static std::atomic<bool> stop(false);
  stop = false;
  if (!Core::CatchInterrupts(&stop)) {
    context.console.Err("tovi-cli: Ctrl+C cannot be caught; it ends the watch at once\n");
  }
  CWatchRun run(context, stop);
  return run.Run();
}
