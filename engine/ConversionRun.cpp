// The conversion run: one engine for the whole list, one log call per
// text, and a failed item never ends the run.
#include "engine/ConversionRun.h"

#include "engine/EngineMessages.h"
#include "foundation/Memory.h"
#include "foundation/Path.h"
#include "engine/PreProcesser.h"

bool ItemPaths(const CItem& item, const ConversionSettings& settings, Core::CString* source,
               Core::CString* destination) {
  const Core::CAllocationWatch memory;
  if (settings.pathMode != 0) {
    *source = Core::AbsolutePath(item.m_strSource, settings.directory);
    *destination = Core::AbsolutePath(item.m_strDestination, settings.directory);
  } else {
    *source = item.m_strSource;
    *destination = item.m_strDestination;
  }
  return !memory.Failed();
}

namespace {

// Converts one item and logs its outcome; true when it completed. *ran:
// the engine took the item up (its inputs are this item's).
bool ConvertOne(CPreProcesser& engine, const CItem& item, const ConversionSettings& settings,
                ILogSink& log, Core::CString* destination, bool* ran) {
  log.AppendLog(EngineText::Formatted(
      EngineText::kPathLine, 0, {item.m_strSource.GetText(), item.m_strDestination.GetText()}));
  *ran = false;
  Core::CString source;
  if (!ItemPaths(item, settings, &source, destination)) {
    log.AppendLog(EngineText::Formatted(EngineText::kOutOfMemory, 0, {item.m_strSource.GetText()}));
    log.AppendLog(EngineText::kAborted);
    return false;
  }
  *ran = true;
  const char* done = EngineText::kCompleted;
  bool completed = false;
  if (settings.onlyChanged) {
    const CPreProcesser::UpdateResult result =
        engine.UpdateFile(source, *destination, settings.disposition);
    completed = result != CPreProcesser::UpdateResult::kFailed;
    if (result == CPreProcesser::UpdateResult::kUnchanged) done = EngineText::kUnchanged;
  } else {
    completed = engine.ConvertFile(source, *destination, settings.disposition) != 0;
  }
  if (completed) {
    if (!engine.GetMessages().IsEmpty()) log.AppendLog(engine.GetMessages());
    log.AppendLog(done);
    return true;
  }
  log.AppendLog(engine.GetMessages());
  log.AppendLog(EngineText::kAborted);
  return false;
}

}  // namespace

int ConvertItems(const Core::CArray<CItem>& items, const Core::CArray<int>& indices,
                 const ConversionSettings& settings, ILogSink& log, IItemObserver* observer,
                 const std::atomic<bool>* stop) {
  CPreProcesser engine;
  engine.SetSourceCodePage(settings.sourceCodePage);
  engine.SetLookAtInputs(settings.lookAtInputs);
  log.AppendLog(EngineText::kRunStart);
  int abandoned = 0;
  const Core::CArray<Core::CString> none;
  const Core::CArray<Core::FileLook> noLooks;
  for (int i = 0; i < indices.GetSize(); ++i) {
    const int index = indices[i];
    if (index < 0 || index >= items.GetSize()) continue;  // no such item: nothing to convert
    if (stop && stop->load()) break;
    Core::CString destination;
    bool ran = false;
    const bool completed = ConvertOne(engine, items[index], settings, log, &destination, &ran);
    if (!completed) ++abandoned;
    if (observer) {
      observer->ItemConverted(index, destination, completed, ran ? engine.GetInputs() : none,
                              ran ? engine.GetInputLooks() : noLooks);
    }
  }
  log.AppendLog(EngineText::kRunEnd);
  return abandoned;
}
