#include "DirectiveLine.h"

#include <cstring>

#include "Cp932Text.h"

namespace {

constexpr char kBlanks[] = "\t ";

struct Keyword {
  Directive directive;
  const char* text;
};

// In the order the keywords are compared.
constexpr Keyword kKeywords[] = {
    {Directive::kDefine, "#define"},   {Directive::kUndef, "#undef"},
    {Directive::kInclude, "#include"}, {Directive::kIfdef, "#ifdef"},
    {Directive::kIfndef, "#ifndef"},   {Directive::kElse, "#else"},
    {Directive::kEndif, "#endif"},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

Directive ClassifyLine(const char* line) {
  const char* p = line;
  while (IsBlank(*p)) ++p;
  if (*p != '#') return Directive::kNone;
  for (const Keyword& keyword : kKeywords) {
    const std::size_t length = std::strlen(keyword.text);
    if (std::strncmp(p, keyword.text, length) == 0 && (p[length] == '\0' || IsBlank(p[length]))) {
      return keyword.directive;
    }
  }
  return Directive::kNone;
}

const char* DirectiveKeyword(Directive directive) {
  for (const Keyword& keyword : kKeywords) {
    if (keyword.directive == directive) return keyword.text;
  }
  return "";
}

bool FindToken(const char* line, int n, TokenSpan* span) {
  std::size_t pos = 0;
  for (int i = 0; i < n; ++i) {
    if (!Core::Cp932::NextToken(line, kBlanks, &pos, &span->start, &span->length)) return false;
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

Core::CString RestAfterToken(const Core::CString& line, int n) {
  TokenSpan span;
  if (!FindToken(line.GetText(), n, &span)) return Core::CString();
  Core::CString rest(line.GetText() + span.start + span.length);
  rest.TrimLeft();
  rest.TrimRight();
  return rest;
}

bool IsExtraText(const Core::CString& rest) {
  return !rest.IsEmpty() && std::strncmp(rest.GetText(), "//", 2) != 0;
}
