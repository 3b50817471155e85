// Reading directive lines: the keyword named by a line's first token, and
// the tokens and trailing text the handlers take from it. Tokens are runs
// of characters other than tab and space, found as CString::Tokenize finds
// them (a double-byte character never ends a token).
#pragma once

#include <cstddef>

#include "String.h"

enum class Directive { kNone, kDefine, kUndef, kInclude, kIfdef, kIfndef, kElse, kEndif };

// The directive whose keyword is exactly the first token of the line.
Directive ClassifyLine(const char* line);
const char* DirectiveKeyword(Directive directive);

struct TokenSpan {
  std::size_t start = 0;
  std::size_t length = 0;
};

// The n-th token (1-based); false when the line has fewer.
bool FindToken(const char* line, int n, TokenSpan* span);
Core::CString TokenText(const char* line, const TokenSpan& span);

// The text after the n-th token with single-byte white space trimmed at
// both ends; empty when the line has fewer tokens.
Core::CString RestAfterToken(const Core::CString& line, int n);

// Trailing text that draws the extra-text warning: anything but a "//"
// comment.
bool IsExtraText(const Core::CString& rest);
