// The check run: one engine for the whole list, as in the conversion run,
// and a failed item never ends the run.
#include "engine/CheckRun.h"

#include "engine/EngineMessages.h"

int CheckItems(const Core::CArray<CItem>& items, const Core::CArray<int>& indices,
               const ConversionSettings& settings, ICheckSink& sink) {
  CPreProcesser engine;
  engine.SetSourceCodePage(settings.sourceCodePage);
  const Core::CString none;
  int notUpToDate = 0;
  for (int i = 0; i < indices.GetSize(); ++i) {
    const int index = indices[i];
    if (index < 0 || index >= items.GetSize()) continue;  // no such item: nothing to check
    const CItem& item = items[index];
    Core::CString source;
    Core::CString destination;
    CheckResult result = CheckResult::kFailed;
    if (ItemPaths(item, settings, &source, &destination)) {
      result = engine.CheckFile(source, destination, settings.disposition);
      sink.ReportItem(item, result, result == CheckResult::kFailed ? engine.GetMessages() : none);
    } else {
      sink.ReportItem(
          item, result,
          EngineText::Formatted(EngineText::kOutOfMemory, 0, {item.m_strSource.GetText()}));
    }
    if (result != CheckResult::kUpToDate) ++notUpToDate;
  }
  return notUpToDate;
}
