// The .tvx project file: "TVX", the item count, each item's two paths as
// length-prefixed bytes, then the version and the settings block. All
// integers are 32-bit little-endian.
#pragma once

#include "foundation/Array.h"
#include "project/Item.h"
#include "foundation/String.h"

struct CProjectFileContent {
  Core::CArray<CItem> items;
  bool hasSettings = false;  // false: the file carries no settings block
  int pathMode = 0;
  int directiveMode = 1;
};

// The version number the file carries, from the program version text
// without its point ("0.35" -> 35).
int ProjectFileVersion();

// Reads the file at path (null: no name given). False with the error text
// in message. The settings block is read over the two settings as passed
// in: what a file cut short does not hold keeps its value.
bool ReadProjectFile(const char* path, CProjectFileContent* content, Core::CString* message);

// Writes the content to path through a temporary file that replaces the
// old one only when every byte reached the disk. A symlink at path keeps
// pointing at the updated file; a read-only file is refused. False with the
// error text in message; the old file is then untouched.
bool WriteProjectFile(const Core::CString& path, const CProjectFileContent& content,
                      Core::CString* message);
