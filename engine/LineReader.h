// Cutting the bytes of a source or included file into lines: LF ends a
// line (an empty one too), CR is dropped wherever it stands, and when the
// last byte is not LF the text reads as if one followed. NUL bytes are
// dropped from source files; in included files a NUL ends its line's text.
#pragma once

#include <cstddef>

#include "Array.h"
#include "File.h"
#include "String.h"

enum class NulRule { kDrop, kEndsText };

// Appends the lines of the bytes to `lines`. The lines are counted first,
// so the array grows once instead of copying its strings as it grows.
// False when memory ran out.
bool SplitLines(const char* bytes, std::size_t size, NulRule rule,
                Core::CArray<Core::CString>& lines);

// Reads the open file to its end (or to a failed read) and appends its
// lines. False when memory ran out.
bool ReadFileLines(Core::CFile& file, NulRule rule, Core::CArray<Core::CString>& lines);
