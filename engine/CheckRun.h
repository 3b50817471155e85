// The check run: converts project items into memory and compares each
// result with its destination, for a build server that must fail when a
// destination is out of date. Nothing is written.
#pragma once

#include "engine/ConversionRun.h"
#include "engine/PreProcesser.h"

using CheckResult = CPreProcesser::CheckResult;

// Receives one call per item checked, in the order of the run.
class ICheckSink {
 public:
  virtual ~ICheckSink() = default;
  // messages: the engine's messages for a failed item, as the conversion
  // log shows them; empty for the other results.
  virtual void ReportItem(const CItem& item, CheckResult result, const Core::CString& messages) = 0;
};

// Checks items[indices[0]], items[indices[1]] ... in that order, with the
// paths and settings ConvertItems uses. Returns the number of items whose
// destination is not up to date (0 when every one is).
int CheckItems(const Core::CArray<CItem>& items, const Core::CArray<int>& indices,
               const ConversionSettings& settings, ICheckSink& sink);
