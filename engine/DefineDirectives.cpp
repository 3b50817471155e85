// #define and #undef. Neither stops the item: a malformed line draws a
// warning and is otherwise ignored.
#include "DirectiveLine.h"
#include "EngineMessages.h"
#include "PreProcesser.h"

bool CPreProcesser::OnDefine(const Core::CString& line, int lineNumber) {
  TokenSpan name;
  if (!FindToken(line.GetText(), 2, &name)) {
    AddLineMessage(EngineText::kMissingName, lineNumber, line, "#define");
    return true;
  }
  // The value is everything after the name, comments and inner blanks included.
  const Core::CString value = RestAfterToken(line, 2);
  if (!m_dictionary.Define(TokenText(line.GetText(), name), value)) m_bOutOfMemory = true;
  return true;
}

bool CPreProcesser::OnUndef(const Core::CString& line, int lineNumber) {
  TokenSpan span;
  if (!FindToken(line.GetText(), 2, &span)) {
    AddLineMessage(EngineText::kMissingName, lineNumber, line, "#undef");
    return true;
  }
  if (!RestAfterToken(line, 2).IsEmpty()) AddLineMessage(EngineText::kExtraText, lineNumber, line);
  const Core::CString name = TokenText(line.GetText(), span);
  if (!m_dictionary.Undefine(name)) {
    AddLineMessage(EngineText::kNotDefined, lineNumber, line, name.GetText());
  }
  return true;
}
