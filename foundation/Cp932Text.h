// Code page 932 (Shift-JIS) character helpers. The code page is fixed, not
// taken from the process locale: a lead byte is 0x81-0x9F or 0xE0-0xFC and
// the byte after it belongs to the same character.
#pragma once

#include <cstddef>

namespace Core {
namespace Cp932 {

inline bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Bytes taken by the character at p: 2 for a lead byte followed by a
// non-zero byte, otherwise 1 (0 at the terminator).
inline std::size_t CharLength(const char* p) {
  if (*p == '\0') return 0;
  return IsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0' ? 2 : 1;
}

// The next character (never past the terminator).
inline const char* Next(const char* p) { return p + CharLength(p); }

// Single-byte white space: tab, LF, VT, FF, CR and space. A byte of a
// double-byte character is never white space.
inline bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// First occurrence of `sub` in `text` starting on a character boundary,
// or nullptr. An empty `sub` matches at `text`.
const char* FindSubstring(const char* text, const char* sub);

// True when the character at p (1 or 2 bytes) is one of the characters
// of the zero-terminated delimiter set.
bool IsDelimiter(const char* p, const char* delimiters);

// Finds the next token at or after `pos` in the zero-terminated text:
// skips delimiter characters, then takes characters up to the next
// delimiter or the end. Returns false when no token is left. On success
// `start`/`length` locate the token and `pos` moves past its delimiter.
bool NextToken(const char* text, const char* delimiters, std::size_t* pos, std::size_t* start,
               std::size_t* length);

// Reverses the first `length` bytes by characters, keeping the two bytes
// of each double-byte character in order.
void Reverse(char* text, std::size_t length);

}  // namespace Cp932
}  // namespace Core
