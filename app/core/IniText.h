// A profile (INI) file changed key by key the way the Windows profile
// functions change it, but built whole in memory and put in place in one
// step: every line the program does not write stays as it stands.
#pragma once

#include <cstddef>

#include "foundation/Array.h"
#include "foundation/File.h"
#include "foundation/String.h"

// One key to write, or to remove.
struct IniUpdate {
  Core::CString section;
  Core::CString key;
  Core::CString value;
  bool remove = false;
};

// Applies the updates in order to the bytes of a profile file and stores
// the whole new text in *out. Sections and keys are found as the profile
// functions find them: names trimmed of white space and compared without
// regard to ASCII case, the first section of a name and the first key of
// that section counting. A key found is rewritten in its line (keeping the
// name as the file spells it), a new key follows the last non-blank line
// of its section, a new section goes at the end of the file. Lines end in
// CR LF, LF or CR; written lines end in CR LF. Bytes are code page 932 and
// may include NUL. False for text the functions read as UTF-16, or when
// memory ran out.
bool UpdateIniText(const char* text, std::size_t size, const Core::CArray<IniUpdate>& updates,
                   Core::CArray<char>* out);

// Reads the whole file at `path` through `file` into *bytes and closes it;
// a file that is not there reads as empty. False when it is there but
// cannot be opened or read.
bool ReadIniFile(Core::CFile& file, const Core::CString& path, Core::CArray<char>* bytes);

// Writes the updates into the file at `path`: reads it, applies them and
// replaces it in one durable step (through a symlink, the file it names).
// False on any failure, the file then exactly as it was.
bool SaveIniUpdates(const Core::CString& path, const Core::CArray<IniUpdate>& updates);
