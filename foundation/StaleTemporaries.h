// Removing the temporaries that CReplacingFile leaves behind when its
// process is killed between creating one and putting it in place.
#pragma once

#include "foundation/String.h"

namespace Core {

// Removes the temporaries "<name>.tovi-<digits>-<digits>" in the target's
// folder (the target named as the system names it: native on POSIX) that
// are regular files whose process has ended and that no writer holds
// (locked on POSIX, open on Windows). A temporary of a live process, or
// anything that is not a plain file, is never touched. A folder is looked
// through once in a while, not before every save: listing a folder of
// thousands of files for each of thousands of saves would cost more than
// the conversions. Best effort: what cannot be listed, checked or removed
// stays.
void RemoveStaleTemporaries(const CString& target);

// The process number of a temporary's name when the name is a non-empty
// name followed by ".tovi-<digits>-<digits>" and nothing else; false for
// any other name, and for a number that is 0 or does not fit in 31 bits.
bool ParseTemporaryName(const char* entry, unsigned long* pid);

// True when the folder was looked through lately; otherwise notes that it
// is being looked through now.
bool SweptLately(const CString& folder);

}  // namespace Core
