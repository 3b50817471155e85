// Cutting the bytes of a source or included file into lines: LF ends a
// line (an empty one too), CR is dropped wherever it stands, and when the
// last byte is not LF the text reads as if one followed. NUL bytes are
// dropped from source files; in included files a NUL ends its line's text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/File.h"
#include "engine/LineBlock.h"

enum class NulRule { kDrop, kEndsText };

// Replaces the lines of `lines` by those of the bytes. False when memory
// ran out.
bool SplitLines(const char* bytes, std::size_t size, NulRule rule, CLineBlock& lines);

enum class ReadResult { kDone, kOutOfMemory, kReadFailed };

// Replaces the lines of `lines` by those of the open file, read to its end
// in one block of the size the caller asked it for (`size`, a hint: a
// file that grew since is read on to its new end).
ReadResult ReadFileLines(Core::CFile& file, std::uint64_t size, NulRule rule, CLineBlock& lines);
