// The file name Save As stores a project under.
#pragma once

#include "foundation/String.h"

// The chosen name with ".tvx" appended unless it already ends in exactly
// ".tvx" (byte for byte, so ".TVX" gets the extension too).
Core::CString SaveAsName(const Core::CString& chosen);
