// The main window's title: the project file, its modified mark and the
// automatic conversion's mark.
#pragma once

#include "foundation/String.h"

// Works out the title for a project with `path` and `modified`, given the
// window's current title; `autoConvert` appends " [自動変換]" (after the
// modified mark). Returns false when the title is to stay as it is (a
// modified project whose title, without the automatic conversion's mark,
// is shorter than 6 bytes or already ends with the modified mark, and the
// automatic conversion's mark already as wanted); otherwise stores the new
// title in *title.
bool NextTitle(const Core::CString& path, int modified, bool autoConvert,
               const Core::CString& current, Core::CString* title);
