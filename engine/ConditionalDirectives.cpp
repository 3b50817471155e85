// #ifdef, #ifndef, #else and #endif. There is one conditional state, not a
// stack: each directive sets it, so blocks do not nest.
#include "engine/DirectiveLine.h"
#include "engine/EngineMessages.h"
#include "engine/PreProcesser.h"

bool CPreProcesser::OnIfdef(const char* line, int lineNumber) {
  return OnCondition(line, lineNumber, Directive::kIfdef);
}

bool CPreProcesser::OnIfndef(const char* line, int lineNumber) {
  return OnCondition(line, lineNumber, Directive::kIfndef);
}

bool CPreProcesser::OnCondition(const char* line, int lineNumber, Directive directive) {
  TokenSpan span;
  if (!FindToken(line, 2, &span, *m_pByteClasses)) {
    AddLineMessage(EngineText::kIdentifierExpected, lineNumber, line, DirectiveKeyword(directive));
    return false;
  }
  CheckExtraText(line, lineNumber, 2);
  CMacroTable::Value value;
  const bool defined = m_dictionary.Find(line + span.start, span.length, &value);
  const bool taken = directive == Directive::kIfdef ? defined : !defined;
  m_nState = taken ? kActiveBranch : kSkipping;
  return true;
}

bool CPreProcesser::OnElse(const char* line, int lineNumber) {
  CheckExtraText(line, lineNumber, 1);
  if (m_nState == kCode) {
    AddLineMessage(EngineText::kUnmatched, lineNumber, line, "#ifdef", "#ifndef");
    return false;
  }
  m_nState = m_nState == kSkipping ? kActiveBranch : kSkipping;
  return true;
}

bool CPreProcesser::OnEndif(const char* line, int lineNumber) {
  CheckExtraText(line, lineNumber, 1);
  if (m_nState == kCode) {
    AddLineMessage(EngineText::kUnmatched, lineNumber, line, "#ifdef", "#ifndef");
    return false;
  }
  m_nState = kCode;
  return true;
}

// Trailing text after the given token draws a warning unless it is a "//"
// comment; it never changes what the line does.
void CPreProcesser::CheckExtraText(const char* line, int lineNumber, int token) {
  TextSpan rest;
  if (!RestAfterToken(line, token, m_scratch, &rest, *m_pByteClasses)) return;
  if (IsExtraText(rest)) AddLineMessage(EngineText::kExtraText, lineNumber, line);
}
