// The conversion run: converts a list of project items with one engine and
// reports through a log sink, one call per text as the log pane shows it.
#pragma once

#include "foundation/Array.h"
#include "project/Item.h"
#include "foundation/String.h"

// Receives the run's report: the opening line, each item's path line, its
// messages, its completion or abort line, and the closing empty line.
class ILogSink {
 public:
  virtual ~ILogSink() = default;
  virtual void AppendLog(const Core::CString& text) = 0;
};

struct ConversionSettings {
  Core::CString directory;   // the project's directory, with its separator
  int pathMode = 0;          // 0: item paths absolute; other: relative to directory
  int disposition = 1;       // directive disposition handed to the engine
  int sourceCodePage = 932;  // kSourceCp932 or kSourceUtf8: how sources without a mark are read
};

// Converts items[indices[0]], items[indices[1]] ... in that order. Returns
// the number of abandoned items (0 when every item completed).
int ConvertItems(const Core::CArray<CItem>& items, const Core::CArray<int>& indices,
                 const ConversionSettings& settings, ILogSink& log);
