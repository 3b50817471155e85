// Reading directive lines: the keyword named by a line's first token, and
// the tokens and trailing text the handlers take from it. Tokens are runs
// of characters other than tab and space, found as CString::Tokenize finds
// them (a double-byte character never ends a token). Each takes the byte
// classes of the file the line comes from, which tell its lead bytes.
#pragma once

#include <cstddef>

#include "foundation/String.h"
#include "engine/TextBuffer.h"

class CByteClasses;

enum class Directive { kNone, kDefine, kUndef, kInclude, kIfdef, kIfndef, kElse, kEndif };

// The directive whose keyword is exactly the first token of the line.
Directive ClassifyLine(const char* line);
const char* DirectiveKeyword(Directive directive);

struct TokenSpan {
  std::size_t start = 0;
  std::size_t length = 0;
};

// The n-th token (1-based); false when the line has fewer.
bool FindToken(const char* line, int n, TokenSpan* span, const CByteClasses& classes);
Core::CString TokenText(const char* line, const TokenSpan& span);

struct TextSpan {
  const char* text = "";
  std::size_t length = 0;
};

// The text with single-byte white space trimmed at both ends, as
// CString::TrimLeft and TrimRight trim it (double-byte characters
// included). The span lies in the text, or in `scratch` when trimming had
// to move bytes. False when memory ran out.
bool TrimText(const char* text, CTextBuffer& scratch, TextSpan* trimmed,
              const CByteClasses& classes);

// The text after the n-th token with single-byte white space trimmed at
// both ends, as CString::TrimLeft and TrimRight trim it (double-byte
// characters included); empty when the line has fewer tokens. The span
// lies in the line, or in `scratch` when trimming had to move bytes.
// False when memory ran out.
bool RestAfterToken(const char* line, int n, CTextBuffer& scratch, TextSpan* rest,
                    const CByteClasses& classes);

// The file name of an #include line: the text between the first two
// double quotes after the keyword's length of bytes, trimmed first. False
// when there is no such name (`*syntax` true) or memory ran out.
bool IncludeName(const char* line, CTextBuffer& scratch, TextSpan* name, bool* syntax,
                 const CByteClasses& classes);

// Trailing text that draws the extra-text warning: anything but a "//"
// comment.
bool IsExtraText(const TextSpan& rest);
