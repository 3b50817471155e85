// #define and #undef. Neither stops the item: a malformed line draws a
// warning and is otherwise ignored.
#include "engine/DirectiveLine.h"
#include "engine/EngineMessages.h"
#include "engine/PreProcesser.h"

bool CPreProcesser::OnDefine(const char* line, int lineNumber) {
  TokenSpan name;
  if (!FindToken(line, 2, &name, *m_pByteClasses)) {
    AddLineMessage(EngineText::kMissingName, lineNumber, line, "#define");
    return true;
  }
  // The value is everything after the name, comments and inner blanks included.
  // Out of memory, either step fails and the pass ends.
  TextSpan value;
  if (TrimText(line + name.start + name.length, m_scratch, &value, *m_pByteClasses)) {
    (void)m_dictionary.Define(line + name.start, name.length, value.text, value.length);
  }
  return true;
}

bool CPreProcesser::OnUndef(const char* line, int lineNumber) {
  TokenSpan name;
  if (!FindToken(line, 2, &name, *m_pByteClasses)) {
    AddLineMessage(EngineText::kMissingName, lineNumber, line, "#undef");
    return true;
  }
  TextSpan rest;
  if (!TrimText(line + name.start + name.length, m_scratch, &rest, *m_pByteClasses)) return true;
  if (rest.length > 0) AddLineMessage(EngineText::kExtraText, lineNumber, line);
  if (!m_dictionary.Undefine(line + name.start, name.length)) {
    m_scratch.Clear();
    if (!m_scratch.Reserve(name.length)) return true;
    m_scratch.Append(line + name.start, name.length);
    AddLineMessage(EngineText::kNotDefined, lineNumber, line,
                   LogText(m_scratch.GetText(), m_logText));
  }
  return true;
}
