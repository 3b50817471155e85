// convert --check: one line per destination that is not up to date, and a
// failed item's messages after its line.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "engine/CheckRun.h"

namespace {

const char* Label(CheckResult result) {
  switch (result) {
    case CheckResult::kUpToDate:
      return nullptr;
    case CheckResult::kStale:
      return "stale: ";
    case CheckResult::kMissing:
      return "missing: ";
    case CheckResult::kNotAFile:
      return "not a file: ";
    case CheckResult::kUnreadable:
      return "unreadable: ";
    case CheckResult::kFailed:
      break;
  }
  return "failed: ";
}

class CCheckReport : public ICheckSink {
 public:
  CCheckReport(IConsole& console, OutputEncoding encoding)
      : m_console(console), m_encoding(encoding) {}
  void ReportItem(const CItem& item, CheckResult result, const Core::CString& messages) override {
    const char* label = Label(result);
    if (!label) return;
    // The destination as the project holds it, as 'list' prints it.
    m_console.Out(label + EncodeForConsole(item.m_strDestination, m_encoding) + "\n");
    WriteForConsole(m_console, messages, m_encoding);
  }

 private:
  IConsole& m_console;
  OutputEncoding m_encoding;
};

}  // namespace

int RunCheck(const CommandContext& context, const Core::CArray<CItem>& items,
             const Core::CArray<int>& indices, const ConversionSettings& settings) {
  CCheckReport report(context.console, context.encoding);
  return CheckItems(items, indices, settings, report) == 0 ? kExitOk : kExitAbandoned;
}
