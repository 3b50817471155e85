// printf-style formatting with the Windows wvsprintfA syntax, identical on
// every platform: flags - 0 #, width, precision, the h/l size prefixes
// (ignored: integers are int, text is narrow) and the types c d i u x X s p
// and %% (C and S are taken as c and s). No floating point, no '*' width.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace Core {

// The formatting limit of wvsprintfA: at most this many bytes are written,
// the terminator included.
constexpr int kFormatBufferSize = 1024;

// Formats into `out` (capacity `size` >= 1), cutting the text at size - 1
// bytes; always zero-terminates. Returns the number of bytes stored.
int FormatText(char* out, int size, const char* format, va_list args);

}  // namespace Core
