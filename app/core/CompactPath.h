// Display shortening of long paths for the title and the history menu.
#pragma once

#include "foundation/String.h"

// Texts of 50 bytes or more whose directory has enough backslash-ended
// segments get middle segments replaced by "....\"; others come back as
// they are. Segments end at backslash characters: a double-byte character
// whose second byte is 0x5C is never cut in two.
Core::CString CompactPath(const Core::CString& text);
