#include "app/core/History.h"

#include "app/core/CompactPath.h"

void AddToHistory(Core::CArray<Core::CString>* history, int count, const Core::CString& path) {
  // A count of 0 means the user keeps no history: do not let the list grow.
  if (count <= 0) return;
  for (int j = 0; j < history->GetSize(); ++j) {
    if ((*history)[j] == path) {
      history->RemoveAt(j);
      history->InsertAt(0, path);
      return;
    }
  }
  if (history->GetSize() >= count) history->RemoveLast();
  history->InsertAt(0, path);
}

Core::CArray<Core::CString> HistoryMenuLabels(const Core::CArray<Core::CString>& history,
                                              int shown) {
  Core::CArray<Core::CString> labels;
  for (int k = 0; k < shown && k < history.GetSize(); ++k) {
    if (history[k].IsEmpty()) break;
    Core::CString label;
    label.Format("&%d %s", k + 1, history[k].GetText());
    labels.Add(CompactPath(label));
  }
  return labels;
}
