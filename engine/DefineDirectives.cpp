// #define and #undef. Neither stops the item: a malformed line draws a
// warning and is otherwise ignored.
#include <cstring>

#include "engine/DirectiveLine.h"
#include "engine/EngineMessages.h"
#include "engine/PreProcesser.h"

namespace {

// How far ahead of the line pass definitions are looked for.
constexpr int kDefinitionsAhead = 8;

// The name a definition line defines, as far as a look at its first bytes
// tells; false when the line is no definition. ASCII names only: it is a
// hint, and a name it misses is merely not made ready.
bool DefinedName(const char* line, std::size_t length, const char** name, std::size_t* nameLength) {
  const char* p = line;
  const char* end = line + length;
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  if (end - p < 9 || std::memcmp(p, "#define", 7) != 0 || (p[7] != ' ' && p[7] != '\t')) {
    return false;
  }
  p += 8;
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  const char* start = p;
  while (p < end && static_cast<unsigned char>(*p - 0x21) < 0x5F) ++p;
  *name = start;
  *nameLength = static_cast<std::size_t>(p - start);
  return p > start;
}

}  // namespace

// Definitions come in runs, a generated header's worth at a time, and a
// large table's slots are seldom in the caches: while one is made, the
// slots of the next few are already being loaded. A run keeps the look
// ahead kDefinitionsAhead lines in front, one line per definition. A
// smaller table mostly sits in the last-level cache, where looking ahead
// only adds work.
void CPreProcesser::PrefetchDefinitionsAhead() {
  if (!m_dictionary.IsLarge()) return;
  CLineBlock* block = m_pending.Current();
  if (!block) return;
  for (int lines = block->IsLookingAhead() ? 1 : kDefinitionsAhead; lines > 0; --lines) {
    std::size_t length;
    const char* line = block->LookAhead(&length);
    if (!line) return;
    const char* name;
    std::size_t nameLength;
    if (DefinedName(line, length, &name, &nameLength)) {
      m_dictionary.Prefetch(m_dictionary.Hash(name, nameLength));
    }
  }
}

bool CPreProcesser::OnDefine(const char* line, int lineNumber) {
  PrefetchDefinitionsAhead();
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
