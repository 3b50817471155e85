#include "foundation/Cp932Text.h"

#include <algorithm>
#include <cstring>

namespace Core {
namespace Cp932 {

const char* FindSubstring(const char* text, const char* sub) {
  const std::size_t n = std::strlen(sub);
  if (n == 0) return text;
  for (const char* p = text; *p; p = Next(p)) {
    if (*p == *sub && std::strncmp(p, sub, n) == 0) return p;
  }
  return nullptr;
}

bool IsDelimiter(const char* p, const char* delimiters) {
  const std::size_t len = CharLength(p);
  if (len == 0) return false;
  for (const char* d = delimiters; *d; d = Next(d)) {
    if (CharLength(d) == len && std::memcmp(d, p, len) == 0) return true;
  }
  return false;
}

bool NextToken(const char* text, const char* delimiters, std::size_t* pos, std::size_t* start,
               std::size_t* length) {
  const char* p = text + *pos;
  while (*p && IsDelimiter(p, delimiters)) p = Next(p);
  if (*p == '\0') {
    *pos = static_cast<std::size_t>(p - text);
    return false;
  }
  const char* begin = p;
  while (*p && !IsDelimiter(p, delimiters)) p = Next(p);
  *start = static_cast<std::size_t>(begin - text);
  *length = static_cast<std::size_t>(p - begin);
  // Like the C library's tokenizer, continue after the delimiter that ended it.
  *pos = static_cast<std::size_t>(p - text) + CharLength(p);
  return true;
}

void Reverse(char* text, std::size_t length) {
  // Swap the bytes of every double-byte character first, so that reversing
  // the whole run puts them back in order.
  std::size_t i = 0;
  while (i < length) {
    if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length && text[i + 1] != '\0') {
      std::swap(text[i], text[i + 1]);
      i += 2;
    } else {
      ++i;
    }
  }
  std::reverse(text, text + length);
}

}  // namespace Cp932
}  // namespace Core
