// The main window's title: the project file and its modified mark.
#pragma once

#include "foundation/String.h"

// Works out the title for a project with `path` and `modified`, given the
// window's current title. Returns false when the title is to stay as it is
// (a modified project whose title is shorter than 6 bytes or already ends
// with the mark); otherwise stores the new title in *title.
bool NextTitle(const Core::CString& path, int modified, const Core::CString& current,
               Core::CString* title);
