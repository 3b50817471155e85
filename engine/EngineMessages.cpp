#include "engine/EngineMessages.h"

#include <cstring>

#include "foundation/Cp932Text.h"

namespace EngineText {

namespace {

constexpr std::size_t kMaxTexts = 4;

int DecimalText(int number, char* digits) {
  char reversed[16];
  int n = 0;
  long long value = number;
  const bool negative = value < 0;
  if (negative) value = -value;
  do {
    reversed[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  int length = 0;
  if (negative) digits[length++] = '-';
  while (n > 0) digits[length++] = reversed[--n];
  return length;
}

// Bytes the pattern contributes by itself, the number included.
std::size_t PatternLength(const char* pattern, int digitCount) {
  std::size_t length = 0;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 'd') {
      length += static_cast<std::size_t>(digitCount);
      ++p;
    } else if (p[0] == '%' && p[1] == 's') {
      ++p;
    } else {
      ++length;
    }
  }
  return length;
}

// The longest prefix of at most `limit` bytes that ends on a character
// boundary.
std::size_t CharacterPrefix(const char* text, std::size_t limit) {
  std::size_t length = 0;
  for (;;) {
    const std::size_t next = Core::Cp932::CharLength(text + length);
    if (next == 0 || length + next > limit) return length;
    length += next;
  }
}

// Shares the budget among the texts: short ones keep their length, the
// long ones split what is left equally.
void FitLengths(std::size_t* lengths, std::size_t count, std::size_t budget) {
  std::size_t total = 0;
  for (std::size_t i = 0; i < count; ++i) total += lengths[i];
  if (total <= budget) return;
  bool open[kMaxTexts];
  std::size_t openCount = count;
  for (std::size_t i = 0; i < count; ++i) open[i] = true;
  for (bool changed = true; changed && openCount > 0;) {
    changed = false;
    const std::size_t share = budget / openCount;
    for (std::size_t i = 0; i < count; ++i) {
      if (open[i] && lengths[i] <= share) {
        open[i] = false;
        --openCount;
        budget -= lengths[i];
        changed = true;
      }
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (open[i]) lengths[i] = budget / openCount;
  }
}

}  // namespace

void AppendFormatted(CTextBuffer& out, const char* pattern, int number,
                     std::initializer_list<const char*> texts) {
  const char* text[kMaxTexts];
  std::size_t length[kMaxTexts];
  std::size_t whole[kMaxTexts];
  std::size_t count = 0;
  for (const char* t : texts) {
    if (count == kMaxTexts) break;
    text[count] = t ? t : "";
    length[count] = whole[count] = std::strlen(text[count]);
    ++count;
  }
  char digits[16];
  const int digitCount = DecimalText(number, digits);
  const std::size_t fixed = PatternLength(pattern, digitCount);
  FitLengths(length, count, fixed < kMessageLimit ? kMessageLimit - fixed : 0);
  // A text kept whole ends on a character boundary by itself.
  std::size_t total = fixed;
  for (std::size_t i = 0; i < count; ++i) {
    if (length[i] != whole[i]) length[i] = CharacterPrefix(text[i], length[i]);
    total += length[i];
  }
  // All of the message or none of it.
  if (!out.Reserve(out.GetLength() + total)) return;

  std::size_t next = 0;
  const char* p = pattern;
  while (*p) {
    // The pattern's own words go in runs, up to the next %d or %s.
    const char* run = p;
    while (*p && !(p[0] == '%' && (p[1] == 'd' || p[1] == 's'))) ++p;
    if (p > run) out.Append(run, static_cast<std::size_t>(p - run));
    if (!*p) break;
    if (p[1] == 'd') {
      out.Append(digits, static_cast<std::size_t>(digitCount));
    } else if (next < count) {
      out.Append(text[next], length[next]);
      ++next;
    }
    p += 2;
  }
}

Core::CString Formatted(const char* pattern, int number, std::initializer_list<const char*> texts) {
  CTextBuffer buffer;
  AppendFormatted(buffer, pattern, number, texts);
  Core::CString result;
  buffer.CopyTo(result);
  return result;
}

}  // namespace EngineText
