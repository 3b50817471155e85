// Display shortening of long paths for the title and the history menu.
#pragma once

#include "String.h"

// Texts of 50 bytes or more whose directory has enough backslash-ended
// segments get middle segments replaced by "....\"; others come back as
// they are. Segments are cut byte by byte, so a double-byte character whose
// second byte is 0x5C ends one too.
Core::CString CompactPath(const Core::CString& text);
