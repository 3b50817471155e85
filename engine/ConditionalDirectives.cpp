// #ifdef, #ifndef, #else and #endif. There is one conditional state, not a
// stack: each directive sets it, so blocks do not nest.
#include "DirectiveLine.h"
#include "EngineMessages.h"
#include "PreProcesser.h"

bool CPreProcesser::OnIfdef(const Core::CString& line, int lineNumber) {
  return OnCondition(line, lineNumber, Directive::kIfdef);
}

bool CPreProcesser::OnIfndef(const Core::CString& line, int lineNumber) {
  return OnCondition(line, lineNumber, Directive::kIfndef);
}

bool CPreProcesser::OnCondition(const Core::CString& line, int lineNumber, Directive directive) {
  TokenSpan span;
  if (!FindToken(line.GetText(), 2, &span)) {
    AddLineMessage(EngineText::kIdentifierExpected, lineNumber, line, DirectiveKeyword(directive));
    return false;
  }
  CheckExtraText(line, lineNumber, 2);
  const bool defined = m_dictionary.Find(line.GetText() + span.start, span.length) != nullptr;
  const bool taken = directive == Directive::kIfdef ? defined : !defined;
  m_nState = taken ? kActiveBranch : kSkipping;
  return true;
}

bool CPreProcesser::OnElse(const Core::CString& line, int lineNumber) {
  CheckExtraText(line, lineNumber, 1);
  if (m_nState == kCode) {
    AddLineMessage(EngineText::kUnmatched, lineNumber, line, "#ifdef", "#ifndef");
    return false;
  }
  m_nState = m_nState == kSkipping ? kActiveBranch : kSkipping;
  return true;
}

bool CPreProcesser::OnEndif(const Core::CString& line, int lineNumber) {
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
void CPreProcesser::CheckExtraText(const Core::CString& line, int lineNumber, int token) {
  if (IsExtraText(RestAfterToken(line, token))) {
    AddLineMessage(EngineText::kExtraText, lineNumber, line);
  }
}
