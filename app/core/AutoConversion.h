// CAutoConversion: what the window's automatic conversion knows, apart
// from the window and the change watch. It hears every run as its
// observer and keeps what each item read. When items are added, edited or
// deleted, or the project's settings change, what it learnt about an item
// that still names the same files is kept, so that item's included files
// stay watched without converting it again.
#pragma once

#include "engine/ConversionRun.h"
#include "engine/WatchedItems.h"
#include "foundation/Array.h"
#include "foundation/String.h"
#include "project/Item.h"

class CAutoConversion : public IItemObserver {
 public:
  // Starts over for these items; *due gets every index. False when memory
  // ran out (then Start again before anything else).
  bool Start(const Core::CArray<CItem>& items, const ConversionSettings& settings,
             Core::CArray<int>* due);
  // The items or settings as they are now; *due gets the items that a
  // pass must take up: those new or changed since the last Start or
  // Update (every one when the output could differ: another disposition
  // or source encoding). False when memory ran out.
  bool Update(const Core::CArray<CItem>& items, const ConversionSettings& settings,
              Core::CArray<int>* due);

  void ItemConverted(int index, const Core::CString& destination, bool completed,
                     const Core::CArray<Core::CString>& inputs,
                     const Core::CArray<Core::FileLook>& looks) override;

  // Every file to watch, each once, and how it stood when it was read
  // (see CWatchedItems::Files). The project file is not among them: the
  // window holds the project, unsaved changes included.
  bool Files(Core::CArray<Core::CString>* paths, Core::CArray<Core::FileLook>* seen) const;
  // The items that read one of the changed paths, in item order.
  bool ItemsConcerned(const Core::CArray<Core::CString>& changed, Core::CArray<int>* indices) const;

 private:
  // What the last run that took up an item heard of it.
  struct Learnt {
    bool heard = false;
    bool completed = false;
    Core::CString destination;
    Core::CArray<Core::CString> inputs;
    Core::CArray<Core::FileLook> looks;
  };

  CWatchedItems m_watched;
  // Each item's source and destination as the engine takes them.
  Core::CArray<CItem> m_aFiles;
  Core::CArray<Learnt> m_aLearnt;
  int m_nDisposition = -1;
  int m_nSourceCodePage = -1;
  bool m_bOutOfMemory = false;  // a run's report could not be kept whole
};
