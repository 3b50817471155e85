#include "engine/WatchedItems.h"

#include "foundation/Memory.h"
#include "foundation/PathIndex.h"

namespace {

bool Contains(const Core::CArray<Core::CString>& list, const Core::CString& path) {
  for (int i = 0; i < list.GetSize(); ++i) {
    if (list[i] == path) return true;
  }
  return false;
}

}  // namespace

bool CWatchedItems::Reset(const Core::CArray<CItem>& items, const ConversionSettings& settings,
                          const Core::CString& project, const Core::FileLook& projectSeen) {
  const Core::CAllocationWatch memory;
  m_strProject = project;
  m_projectSeen = projectSeen;
  bool ok = m_aInputs.ResetSize(items.GetSize()) && m_aLooks.ResetSize(items.GetSize());
  for (int i = 0; ok && i < items.GetSize(); ++i) {
    Core::CString source;
    Core::CString destination;
    ok = ItemPaths(items[i], settings, &source, &destination) && m_aInputs[i].Add(source);
  }
  if (ok && !memory.Failed()) return true;
  m_strProject.Empty();
  m_aInputs.RemoveAll();
  m_aLooks.RemoveAll();
  return false;
}

void CWatchedItems::ItemConverted(int index, const Core::CString& /*destination*/,
                                  bool /*completed*/, const Core::CArray<Core::CString>& inputs,
                                  const Core::CArray<Core::FileLook>& looks) {
  if (index < 0 || index >= m_aInputs.GetSize() || inputs.GetSize() == 0) return;
  // A list cut short by a failed allocation would stop watching a file:
  // the previous lists stay then.
  const Core::CAllocationWatch memory;
  Core::CArray<Core::CString> copy(inputs);
  // Without a look for each, none is trusted: "could not tell" differs
  // from any state, so the watch reports the files and they are read again.
  Core::CArray<Core::FileLook> seen;
  if (looks.GetSize() == inputs.GetSize()) {
    seen = looks;
  } else {
    (void)seen.SetSize(inputs.GetSize());
  }
  if (memory.Failed() || copy.GetSize() != inputs.GetSize() || seen.GetSize() != inputs.GetSize()) {
    return;
  }
  m_aInputs[index].Swap(copy);
  m_aLooks[index].Swap(seen);
}

bool CWatchedItems::Files(Core::CArray<Core::CString>* paths,
                          Core::CArray<Core::FileLook>* seen) const {
  const Core::CAllocationWatch memory;
  Core::CArray<Core::CString> all;
  Core::CArray<Core::FileLook> looks;
  bool ok = m_strProject.IsEmpty() || (all.Add(m_strProject) && looks.Add(m_projectSeen));
  for (int i = 0; ok && i < m_aInputs.GetSize(); ++i) {
    const Core::CArray<Core::CString>& inputs = m_aInputs[i];
    // An item not converted since Reset has no looks: its source is
    // looked at now, as a watch notes a file it is given.
    const bool converted = m_aLooks[i].GetSize() == inputs.GetSize();
    for (int k = 0; ok && k < inputs.GetSize(); ++k) {
      ok =
          all.Add(inputs[k]) && looks.Add(converted ? m_aLooks[i][k] : Core::LookAtFile(inputs[k]));
    }
  }
  // Each path once, where it first stands.
  Core::CPathIndex index;
  ok = ok && index.Build(all);
  paths->RemoveAll();
  seen->RemoveAll();
  for (int i = 0; ok && i < all.GetSize(); ++i) {
    if (index.Find(all[i]) == i) ok = paths->Add(all[i]) && seen->Add(looks[i]);
  }
  return ok && !memory.Failed();
}

bool CWatchedItems::ProjectChanged(const Core::CArray<Core::CString>& changed) const {
  return !m_strProject.IsEmpty() && Contains(changed, m_strProject);
}

bool CWatchedItems::ItemsConcerned(const Core::CArray<Core::CString>& changed,
                                   Core::CArray<int>* indices) const {
  indices->RemoveAll();
  Core::CPathIndex index;
  if (!index.Build(changed)) return false;
  for (int i = 0; i < m_aInputs.GetSize(); ++i) {
    const Core::CArray<Core::CString>& inputs = m_aInputs[i];
    bool concerned = false;
    for (int k = 0; k < inputs.GetSize() && !concerned; ++k) concerned = index.Find(inputs[k]) >= 0;
    if (concerned && !indices->Add(i)) return false;
  }
  return true;
}
