#include "engine/DirectiveLine.h"

#include <cstring>

#include "engine/ByteClasses.h"
#include "foundation/Cp932Text.h"

namespace {

struct Keyword {
  Directive directive;
  const char* text;
};

// The keyword of each directive.
constexpr Keyword kKeywords[] = {
    {Directive::kDefine, "#define"},   {Directive::kUndef, "#undef"},
    {Directive::kInclude, "#include"}, {Directive::kIfdef, "#ifdef"},
    {Directive::kIfndef, "#ifndef"},   {Directive::kElse, "#else"},
    {Directive::kEndif, "#endif"},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

namespace {

// Whether the keyword, with its '#', stands at p as a token of its own. The
// keywords are constants: the loop unrolls into a few compares, and stops
// at the first byte that differs, so it never reads past the line's end.
template <std::size_t kSize>
bool IsKeyword(const char* p, const char (&keyword)[kSize]) {
  constexpr std::size_t length = kSize - 1;
  for (std::size_t i = 0; i < length; ++i) {
    if (p[i] != keyword[i]) return false;
  }
  return p[length] == '\0' || IsBlank(p[length]);
}

}  // namespace

// Every line comes here: the byte after '#' picks the keywords to compare.
Directive ClassifyLine(const char* line) {
  const char* p = line;
  while (IsBlank(*p)) ++p;
  if (*p != '#') return Directive::kNone;
  switch (p[1]) {
    case 'd':
      return IsKeyword(p, "#define") ? Directive::kDefine : Directive::kNone;
    case 'u':
      return IsKeyword(p, "#undef") ? Directive::kUndef : Directive::kNone;
    case 'i':
      if (IsKeyword(p, "#include")) return Directive::kInclude;
      if (IsKeyword(p, "#ifdef")) return Directive::kIfdef;
      return IsKeyword(p, "#ifndef") ? Directive::kIfndef : Directive::kNone;
    case 'e':
      if (IsKeyword(p, "#else")) return Directive::kElse;
      return IsKeyword(p, "#endif") ? Directive::kEndif : Directive::kNone;
    default:
      return Directive::kNone;
  }
}

const char* DirectiveKeyword(Directive directive) {
  for (const Keyword& keyword : kKeywords) {
    if (keyword.directive == directive) return keyword.text;
  }
  return "";
}

bool FindToken(const char* line, int n, TokenSpan* span, const CByteClasses& classes) {
  const char* p = line;
  for (int i = 0; i < n; ++i) {
    while (IsBlank(*p)) ++p;
    if (*p == '\0') return false;
    const char* start = p;
    for (;;) {
      // Printable ASCII (0x21 to 0x7F), the usual bytes of a token, neither
      // end nor lead: one test each.
      while (static_cast<unsigned char>(*p - 0x21) < 0x5F) ++p;
      if (*p == '\0' || IsBlank(*p)) break;
      p += classes.IsLead(*p) && p[1] != '\0' ? 2 : 1;
    }
    span->start = static_cast<std::size_t>(start - line);
    span->length = static_cast<std::size_t>(p - start);
    if (*p != '\0') ++p;  // past the blank that ended the token
  }
  return true;
}

Core::CString TokenText(const char* line, const TokenSpan& span) {
  Core::CString token;
  if (span.length > 0 && token.AllocBuffer(static_cast<int>(span.length))) {
    std::memcpy(token.GetBuffer(), line + span.start, span.length);
  }
  return token;
}

namespace {

bool HasLeadByte(const char* text, std::size_t length, const CByteClasses& classes) {
  if (classes.IsUtf8()) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (classes.IsLead(text[i])) return true;
  }
  return false;
}

}  // namespace

bool TrimText(const char* text, CTextBuffer& scratch, TextSpan* trimmed,
              const CByteClasses& classes) {
  while (*text && Core::Cp932::IsSpace(*text)) ++text;  // white space is single-byte
  std::size_t length = std::strlen(text);
  if (!HasLeadByte(text, length, classes)) {
    while (length > 0 && Core::Cp932::IsSpace(text[length - 1])) --length;
    *trimmed = {text, length};
    return true;
  }
  // TrimRight reverses by characters, trims the front and reverses back;
  // with a lone lead byte the two reversals pair different bytes, and the
  // result must be the same.
  scratch.Clear();
  if (!scratch.Reserve(length)) return false;
  scratch.Append(text, length);
  char* copy = scratch.GetData();
  Core::Cp932::Reverse(copy, length);
  std::size_t front = 0;
  while (front < length && Core::Cp932::IsSpace(copy[front])) ++front;
  Core::Cp932::Reverse(copy + front, length - front);
  *trimmed = {copy + front, length - front};
  return true;
}

bool RestAfterToken(const char* line, int n, CTextBuffer& scratch, TextSpan* rest,
                    const CByteClasses& classes) {
  *rest = TextSpan();
  TokenSpan span;
  if (!FindToken(line, n, &span, classes)) return true;
  return TrimText(line + span.start + span.length, scratch, rest, classes);
}

namespace {

// The offset of the first double quote at or after `from` that is a
// character of its own, or `length` when there is none.
std::size_t FindQuote(const char* text, std::size_t from, std::size_t length,
                      const CByteClasses& classes) {
  for (std::size_t i = from; i < length;) {
    if (text[i] == '"') return i;
    i += classes.IsLead(text[i]) && i + 1 < length ? 2 : 1;
  }
  return length;
}

}  // namespace

bool IncludeName(const char* line, CTextBuffer& scratch, TextSpan* name, bool* syntax,
                 const CByteClasses& classes) {
  *syntax = false;
  const std::size_t keyword = 8;  // "#include", whatever stands before it
  const char* text = std::strlen(line) > keyword ? line + keyword : "";
  TextSpan trimmed;
  if (!TrimText(text, scratch, &trimmed, classes)) return false;
  const std::size_t open = FindQuote(trimmed.text, 0, trimmed.length, classes);
  const std::size_t close = open < trimmed.length
                                ? FindQuote(trimmed.text, open + 1, trimmed.length, classes)
                                : trimmed.length;
  if (close >= trimmed.length || close == open + 1) {
    *syntax = true;
    return false;
  }
  *name = {trimmed.text + open + 1, close - open - 1};
  return true;
}

bool IsExtraText(const TextSpan& rest) {
  return rest.length > 0 && !(rest.length >= 2 && rest.text[0] == '/' && rest.text[1] == '/');
}
