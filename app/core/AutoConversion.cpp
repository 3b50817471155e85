#include "app/core/AutoConversion.h"

#include "foundation/Memory.h"

namespace {

// The items' sources and destinations as the engine takes them: what
// tells whether an item still names the same files after its text or
// the project's folder changed.
bool EngineFiles(const Core::CArray<CItem>& items, const ConversionSettings& settings,
                 Core::CArray<CItem>* files) {
  if (!files->ResetSize(items.GetSize())) return items.GetSize() == 0;
  for (int i = 0; i < items.GetSize(); ++i) {
    CItem& file = files->ElementAt(i);
    if (!ItemPaths(items[i], settings, &file.m_strSource, &file.m_strDestination)) return false;
  }
  return true;
}

bool SameFiles(const CItem& a, const CItem& b) {
  return a.m_strSource == b.m_strSource && a.m_strDestination == b.m_strDestination;
}

// The index in `files` of an item naming the same files as `item`, -1
// when there is none. Items mostly keep their order, so `expected` (the
// one after the last found) is looked at first.
int FindFiles(const Core::CArray<CItem>& files, const CItem& item, int expected) {
  if (expected < files.GetSize() && SameFiles(files[expected], item)) return expected;
  for (int i = 0; i < files.GetSize(); ++i) {
    if (SameFiles(files[i], item)) return i;
  }
  return -1;
}

}  // namespace

bool CAutoConversion::Start(const Core::CArray<CItem>& items, const ConversionSettings& settings,
                            Core::CArray<int>* due) {
  m_aFiles.RemoveAll();
  m_aLearnt.RemoveAll();
  m_bOutOfMemory = false;
  return Update(items, settings, due);
}

bool CAutoConversion::Update(const Core::CArray<CItem>& items, const ConversionSettings& settings,
                             Core::CArray<int>* due) {
  const Core::CAllocationWatch memory;
  due->RemoveAll();
  Core::CArray<CItem> files;
  if (!EngineFiles(items, settings, &files)) return false;
  Core::CArray<Learnt> learnt;
  if (!learnt.ResetSize(files.GetSize()) && files.GetSize() > 0) return false;
  // The project file is left out: see Files.
  if (!m_watched.Reset(items, settings, Core::CString())) return false;
  const bool sameOutput =
      settings.disposition == m_nDisposition && settings.sourceCodePage == m_nSourceCodePage;
  int expected = 0;
  for (int i = 0; i < files.GetSize(); ++i) {
    const int found = sameOutput ? FindFiles(m_aFiles, files[i], expected) : -1;
    if (found >= 0) expected = found + 1;
    if (found >= 0 && m_aLearnt[found].heard) {
      Learnt& item = learnt.ElementAt(i);
      item = m_aLearnt[found];
      m_watched.ItemConverted(i, item.destination, item.completed, item.inputs, item.looks);
    } else if (!due->Add(i)) {
      return false;
    }
  }
  m_aFiles.Swap(files);
  m_aLearnt.Swap(learnt);
  m_nDisposition = settings.disposition;
  m_nSourceCodePage = settings.sourceCodePage;
  return !memory.Failed();
}

void CAutoConversion::ItemConverted(int index, const Core::CString& destination, bool completed,
                                    const Core::CArray<Core::CString>& inputs,
                                    const Core::CArray<Core::FileLook>& looks) {
  const Core::CAllocationWatch memory;
  m_watched.ItemConverted(index, destination, completed, inputs, looks);
  if (index < 0 || index >= m_aLearnt.GetSize()) return;
  Learnt& item = m_aLearnt.ElementAt(index);
  item.heard = true;
  item.completed = completed;
  item.destination = destination;
  item.inputs = inputs;
  item.looks = looks;
  // Files would leave out what could not be kept; it says so instead.
  if (memory.Failed()) m_bOutOfMemory = true;
}

bool CAutoConversion::Files(Core::CArray<Core::CString>* paths,
                            Core::CArray<Core::FileLook>* seen) const {
  return !m_bOutOfMemory && m_watched.Files(paths, seen);
}

bool CAutoConversion::ItemsConcerned(const Core::CArray<Core::CString>& changed,
                                     Core::CArray<int>* indices) const {
  return m_watched.ItemsConcerned(changed, indices);
}
