// Word expansion: a defined name becomes its replacement text, shown with
// the name as a comment before it (disposition 1) or after it (any other
// non-zero disposition). The result is never scanned again.
#include "engine/PreProcesser.h"

void CPreProcesser::ExpandWord(const CMacroTable::Value& value, const char* word,
                               std::size_t length, CTextBuffer& out) const {
  if (m_nDirectiveMode == 0) {
    out.Append(value.text, value.length);
    return;
  }
  if (m_nDirectiveMode != 1) out.Append(value.text, value.length);
  // Built directly rather than through Format, whose 1023-byte limit would
  // cut a long name and leave the comment unclosed.
  out.Append("/*", 2);
  out.Append(word, length);
  out.Append("*/", 2);
  if (m_nDirectiveMode == 1) out.Append(value.text, value.length);
}
