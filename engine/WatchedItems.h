// CWatchedItems: what a watch over a project's items looks at. It keeps,
// for each item, the files the item read in its last conversion (heard as
// the run's observer), and answers which items a set of changed files
// concerns. Shared by the command line's watch and the window's automatic
// conversion.
#pragma once

#include "engine/ConversionRun.h"
#include "foundation/Array.h"
#include "foundation/String.h"
#include "project/Item.h"

class CWatchedItems : public IItemObserver {
 public:
  // Starts over for a project's items: until an item is converted, its
  // source (as the engine takes it) stands for what it reads. project: the
  // project file's path, watched too, and how it stood before it was
  // loaded. False when memory ran out.
  bool Reset(const Core::CArray<CItem>& items, const ConversionSettings& settings,
             const Core::CString& project, const Core::FileLook& projectSeen = Core::FileLook());

  // Replaces the item's files by those it read now, and how they stood
  // before it read them (a file without a look could have changed).
  void ItemConverted(int index, const Core::CString& destination, bool completed,
                     const Core::CArray<Core::CString>& inputs,
                     const Core::CArray<Core::FileLook>& looks) override;

  // Every file to watch, each once: the project file, then each item's;
  // in *seen, how each stood when it was read (first read, where several
  // items read it), for CChangeWatch::SetFiles.
  bool Files(Core::CArray<Core::CString>* paths, Core::CArray<Core::FileLook>* seen) const;
  // True when the project file is among the changed paths.
  bool ProjectChanged(const Core::CArray<Core::CString>& changed) const;
  // The items that read one of the changed paths, in item order.
  bool ItemsConcerned(const Core::CArray<Core::CString>& changed, Core::CArray<int>* indices) const;

 private:
  Core::CString m_strProject;
  Core::FileLook m_projectSeen;
  // For item i, the files it read in its last conversion, and how each
  // stood before it was read (no looks before its first conversion).
  Core::CArray<Core::CArray<Core::CString>> m_aInputs;
  Core::CArray<Core::CArray<Core::FileLook>> m_aLooks;
};
