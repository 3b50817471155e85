// Word expansion: a defined name becomes its replacement text, shown with
// the name as a comment before it (disposition 1) or after it (any other
// non-zero disposition). The result is never scanned again.
#include <cstring>

#include "PreProcesser.h"

void CPreProcesser::ExpandWord(const CDictionary& entry, const char* word, std::size_t length,
                               CTextBuffer& out) const {
  const char* value = entry.m_strValue.GetText();
  const std::size_t valueLength = std::strlen(value);
  if (m_nDirectiveMode == 0) {
    out.Append(value, valueLength);
    return;
  }
  if (m_nDirectiveMode != 1) out.Append(value, valueLength);
  // Built directly rather than through Format, whose 1023-byte limit would
  // cut a long name and leave the comment unclosed.
  out.Append("/*", 2);
  out.Append(word, length);
  out.Append("*/", 2);
  if (m_nDirectiveMode == 1) out.Append(value, valueLength);
}
