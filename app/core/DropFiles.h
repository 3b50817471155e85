// What files dropped on the main window do: a project file opens, other
// files dropped on the item list become new items.
#pragma once

#include "foundation/Array.h"
#include "foundation/String.h"

// True when the name ends in ".tvx" in any letter case, as the file
// association matches it.
bool IsProjectFileName(const Core::CString& path);

struct DropPlan {
  int project = -1;         // index of the project file to open, or -1
  Core::CArray<int> items;  // indices of the files to add, in drop order
};

// The first project file among `files` is opened and nothing else happens
// (the items would belong to the project it replaces); without one, every
// file dropped `onList` is added. Folders are to be left out beforehand.
// An allocation failure leaves the item list short.
DropPlan PlanDrop(const Core::CArray<Core::CString>& files, bool onList);
