// The conversion run: converts a list of project items with one engine and
// reports through a log sink, one call per text as the log pane shows it.
#pragma once

#include <atomic>

#include "foundation/Array.h"
#include "foundation/FileSystem.h"
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
  // Incremental run: a destination that already holds the item's output
  // is left as it is (no backup, no temporary, its time unchanged).
  bool onlyChanged = false;
  // Each input is looked at before it is read, for the observer (see
  // CPreProcesser::SetLookAtInputs); a watch needs that, nothing else does.
  bool lookAtInputs = false;
};

// Told of each item a run took up, after its log lines: the files it read.
class IItemObserver {
 public:
  virtual ~IItemObserver() = default;
  // index: the item's index in the run's list; destination: its path as
  // the engine took it; completed: the destination holds the item's output
  // (written now, or already so); inputs: every file the item opened for
  // reading, the source first, then each included file once, in the
  // engine's spelling (absolute). A failed item reports what it read up to
  // its failure (at least its source). looks: with the run's lookAtInputs
  // set, how each input stood before it was read, one for each; else none.
  virtual void ItemConverted(int index, const Core::CString& destination, bool completed,
                             const Core::CArray<Core::CString>& inputs,
                             const Core::CArray<Core::FileLook>& looks) = 0;
};

// The item's paths as the engine takes them (made absolute against the
// project's directory in the relative mode); false when memory ran out,
// since a path cut short by a failed allocation would name another file.
bool ItemPaths(const CItem& item, const ConversionSettings& settings, Core::CString* source,
               Core::CString* destination);

// Converts items[indices[0]], items[indices[1]] ... in that order. Returns
// the number of abandoned items (0 when every item completed). observer,
// when given, hears of each item; stop, when given and set, ends the run
// before the next item (the items not taken up are not counted).
int ConvertItems(const Core::CArray<CItem>& items, const Core::CArray<int>& indices,
                 const ConversionSettings& settings, ILogSink& log,
                 IItemObserver* observer = nullptr, const std::atomic<bool>* stop = nullptr);
