// The .tvx project file: "TVX", the item count, each item's two paths as
// length-prefixed bytes, then the version, the settings block and, for a
// UTF-8 project only, its source code page. All integers are 32-bit
// little-endian.
#pragma once

#include "foundation/Array.h"
#include "foundation/SourceEncoding.h"
#include "project/Item.h"
#include "foundation/String.h"

struct CProjectFileContent {
  Core::CArray<CItem> items;
  bool hasSettings = false;  // false: the file carries no settings block
  int pathMode = 0;
  int directiveMode = 1;
  // Written only when it is kSourceUtf8, so other projects keep the bytes
  // older readers know; read as kSourceCp932 unless the file says UTF-8.
  int sourceCodePage = kSourceCp932;
};

// The version number the file carries, from the program version text
// without its point ("0.35" -> 35).
int ProjectFileVersion();

// Reads the file at path (null: no name given). False with the error text
// in message. The settings block is read over the two settings as passed
// in: what a file cut short does not hold keeps its value. With a settings
// block the source code page is kSourceUtf8 only when the 4 bytes after it
// say so, else kSourceCp932; without one it keeps its value.
bool ReadProjectFile(const char* path, CProjectFileContent* content, Core::CString* message);

// Writes the content to path through a temporary file that replaces the
// old one only when every byte reached the disk. A symlink at path keeps
// pointing at the updated file; a read-only file is refused. False with the
// error text in message; the old file is then untouched.
bool WriteProjectFile(const Core::CString& path, const CProjectFileContent& content,
                      Core::CString* message);
