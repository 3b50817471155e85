// Word expansion: a defined name becomes its replacement text, shown with
// the name as a comment before it (disposition 1) or after it (any other
// non-zero disposition). The result is never scanned again.
#include <cstring>

#include "engine/PreProcesser.h"

void CPreProcesser::ExpandWord(const CMacroTable::Value& value, const char* word,
                               std::size_t length, CTextBuffer& out) const {
  if (m_nDirectiveMode == 0) {
    out.Append(value.text, value.length);
    return;
  }
  // Built directly rather than through Format, whose 1023-byte limit would
  // cut a long name and leave the comment unclosed; room for the comment
  // and the value is made once.
  const std::size_t size = value.length + length + 4;
  char* p = out.AppendSpace(size);
  if (!p) return;  // the buffer remembers the failure
  if (m_nDirectiveMode != 1) {
    CopyBytes(p, value.text, value.length);
    p += value.length;
  }
  p[0] = '/';
  p[1] = '*';
  CopyBytes(p + 2, word, length);
  p[length + 2] = '*';
  p[length + 3] = '/';
  if (m_nDirectiveMode == 1) CopyBytes(p + length + 4, value.text, value.length);
  out.Commit(size);
}
