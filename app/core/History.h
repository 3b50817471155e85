// The recent-projects history: a list of project paths, most recent first.
#pragma once

#include "foundation/Array.h"
#include "app/core/CommandIds.h"
#include "foundation/String.h"

// Largest history count the program offers; the File menu has command ids
// for that many entries.
constexpr int kMaxHistoryCount = 9;
static_assert(ID_HISTORY_LAST - ID_HISTORY_FIRST + 1 == kMaxHistoryCount,
              "one File menu command per history entry");

// Puts `path` at the front. An entry equal to it (exact bytes) moves there;
// otherwise, when the list already holds `count` entries or more, the last
// one is dropped first. A count of 0 or less records nothing.
void AddToHistory(Core::CArray<Core::CString>* history, int count, const Core::CString& path);

// The File menu labels for the history: "&k path" shortened by CompactPath,
// for the first `shown` entries up to the first empty one. Empty when
// nothing is shown or entry 0 is empty.
Core::CArray<Core::CString> HistoryMenuLabels(const Core::CArray<Core::CString>& history,
                                              int shown);
