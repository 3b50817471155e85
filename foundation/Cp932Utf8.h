// Conversion between code page 932 text and UTF-8, the same on every
// platform (the console and, on POSIX, file names speak UTF-8).
#pragma once

#include <cstddef>
#include <string>

#include "foundation/String.h"

namespace Core {

// Converts code page 932 bytes to UTF-8. Bytes that do not form a mapped
// character become U+FFFD. Returns false when any did.
bool Cp932ToUtf8(const char* text, std::size_t length, std::string* out);

// Converts UTF-8 to code page 932. Returns false (out unspecified) when the
// input is not valid UTF-8 or holds a character code page 932 lacks.
bool Utf8ToCp932(const char* text, std::size_t length, std::string* out);

// Converts UTF-8 to code page 932 for display: a character code page 932
// lacks becomes '?', as does each byte that starts no valid sequence.
// `out` holds at least `length` bytes (no character grows); returns the
// number of bytes stored.
std::size_t Utf8ToCp932Lossy(const char* text, std::size_t length, char* out);

// Converts code page 932 bytes into `out`, which holds at least 3 × length
// bytes, as Cp932ToUtf8 does; returns the number of bytes stored.
std::size_t Cp932ToUtf8Bytes(const char* text, std::size_t length, char* out);
// The length of a first piece of at most `limit` bytes (limit >= 2) that
// ends on a character boundary, so pieces convert as the whole would.
std::size_t Cp932PieceLength(const char* text, std::size_t length, std::size_t limit);

// The same for NUL-free text into a CString, without any throwing
// allocation. kInexact: Cp932ToUtf8 replaced a byte by U+FFFD (out holds
// the result); Utf8ToCp932 met a byte or character it cannot convert (out
// unspecified).
enum class ConvertResult { kDone, kInexact, kOutOfMemory };
ConvertResult Cp932ToUtf8(const CString& text, CString* out);
ConvertResult Utf8ToCp932(const char* text, CString* out);

}  // namespace Core
