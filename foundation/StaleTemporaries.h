// Removing the temporaries that CReplacingFile leaves behind when its
// process is killed between creating one and putting it in place.
#pragma once

#include "foundation/String.h"

namespace Core {

// Removes "<name>.tovi-<digits>-<digits>" beside the target (named as the
// system names it: native on POSIX), where <name> is the target's file
// name, when it is a regular file whose process has ended and that no
// writer holds (locked on POSIX, open on Windows). A temporary of a live
// process, of another target, or anything that is not a plain file is
// never touched. Best effort: what cannot be listed, checked or removed
// stays.
void RemoveStaleTemporaries(const CString& target);

// The process number of a temporary's name when the name is the target
// name followed by ".tovi-<digits>-<digits>" and nothing else; false for
// any other name, and for a number that is 0 or does not fit in 31 bits.
bool ParseTemporaryName(const char* entry, const char* name, unsigned long* pid);

}  // namespace Core
