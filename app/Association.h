// The .tvx file association, kept in the current user's classes so that it
// needs no administrator rights.
#pragma once

#include "foundation/String.h"

// True when ".tvx" names "Tovi" (exact case) and the "Tovi" key exists.
bool IsAssociated();
// Writes the keys, creating them, with `modulePath` (the executable's full
// path) in the icon and open command; or removes them. Failures are ignored.
void SetAssociation(bool enable, const Core::CString& modulePath);
