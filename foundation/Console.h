// The program's standard streams and arguments, across the platform seam.
// Inside, all text is code page 932; a POSIX terminal speaks UTF-8.
#pragma once

#include <cstddef>

#include "foundation/String.h"

namespace Core {

// Makes standard output and standard error binary (no CR is added to LF),
// and lets a write to a closed pipe fail instead of ending the program.
void SetBinaryStdio();

// Writes bytes as they are; false when the stream failed.
bool WriteStdout(const char* bytes, std::size_t length);
bool WriteStderr(const char* bytes, std::size_t length);

// True where the console expects UTF-8 by default (POSIX), false where it
// expects code page 932 (Windows).
bool ConsoleDefaultsToUtf8();

// A command-line argument as code page 932 text. On POSIX arguments are
// UTF-8 and are converted; false for one that is no UTF-8 or holds a
// character code page 932 lacks (its bytes would name another file).
bool ArgumentText(const char* argument, CString* text);

}  // namespace Core
