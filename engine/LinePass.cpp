// The line pass. Lines are taken from the pending list and the result is
// built in a separate output block. A line's number in a message is the
// number of lines output so far plus one: the place the line has in the
// converted text at that moment, where lines already dropped do not count
// and lines already included do. Each line is read in the encoding of
// the file it comes from.
#include <cstring>

#include "engine/DirectiveLine.h"
#include "engine/EngineMessages.h"
#include "engine/PreProcesser.h"

namespace {

// Output going to a file is written in pieces of about this size: small
// enough to stay in the second-level cache and to need no fresh memory,
// large enough that the writes cost little.
constexpr std::size_t kOutputPiece = 256 * 1024;

}  // namespace

int CPreProcesser::ProcessLines() {
  m_dictionary.Clear();
  m_nSavedState = -1;
  m_nState = kCode;
  m_output.Clear();
  m_nOutputLines = 0;
  // Room for a piece of the output going to a file, or else for the
  // source as it stands; inclusions and expansions grow it.
  m_output.Reserve(m_bOutputInPieces ? kOutputPiece + kOutputPiece / 2
                                     : m_aLines.GetLength() + m_aLines.GetLength() / 4 + 64);
  if (m_bSourceMarked) m_output.Append("\xEF\xBB\xBF", 3);
  const char* line;
  std::size_t length;
  while (!OutOfMemory() && m_pending.Take(&line, &length)) {
    m_pByteClasses = &ByteClassesFor(m_pending.IsUtf8());
    if (!ProcessLine(line, length)) {
      KeepUnprocessed(line, length);
      return 0;
    }
    if (m_nState == kLineComment) {
      m_nState = m_nSavedState;
      m_nSavedState = -1;
    }
    if (m_bOutputInPieces && m_output.GetLength() >= kOutputPiece) FlushOutput();
  }
  // A lost message or piece of output, and a lack of room for the messages
  // still to come, end the item out of memory like any failed allocation.
  (void)ReserveMessages();
  if (m_aLines.ReadFailed() && !OutOfMemory()) {
    m_bReadFailed = true;
    m_output.Clear();
    m_nOutputLines = 0;
    AddItemMessage(EngineText::kSourceReadFailed, m_strSource);
    return 0;
  }
  if (OutOfMemory()) {
    // Whatever is left would be a cut-off result: none is better.
    m_pending.Clear();
    m_output.Clear();
    m_nOutputLines = 0;
    AddOutOfMemoryMessage(m_strSource);
    return 0;
  }
  return 1;
}

bool CPreProcesser::ProcessLine(const char* line, std::size_t length) {
  // An empty line is never removed, prefixed or scanned, whatever the state.
  if (length == 0) {
    Emit(line, 0);
    return true;
  }
  switch (m_nState) {
    case kString:
    case kBlockComment:
      ScanAndEmit(line, length);
      return true;
    case kSkipping:
      SkipLine(line, length);
      return true;
    default:
      return Dispatch(line, length);
  }
}

bool CPreProcesser::Dispatch(const char* line, std::size_t length) {
  const Directive directive = ClassifyLine(line);
  if (directive == Directive::kNone) {
    ScanAndEmit(line, length);
    return true;
  }
  const int lineNumber = NextLineNumber();
  // The include handler disposes of its line itself.
  if (directive == Directive::kInclude) return OnInclude(line, length, lineNumber);
  if (!RunHandler(directive, line, lineNumber)) return false;
  Dispose(line, length);
  return true;
}

bool CPreProcesser::RunHandler(Directive directive, const char* line, int lineNumber) {
  switch (directive) {
    case Directive::kDefine:
      return OnDefine(line, lineNumber);
    case Directive::kUndef:
      return OnUndef(line, lineNumber);
    case Directive::kIfdef:
      return OnIfdef(line, lineNumber);
    case Directive::kIfndef:
      return OnIfndef(line, lineNumber);
    case Directive::kElse:
      return OnElse(line, lineNumber);
    case Directive::kEndif:
      return OnEndif(line, lineNumber);
    default:
      return true;
  }
}

// In a branch that is not taken only #else and #endif are recognised;
// every line is dropped without being executed or scanned.
void CPreProcesser::SkipLine(const char* line, std::size_t length) {
  const Directive directive = ClassifyLine(line);
  if (directive == Directive::kElse) {
    CheckExtraText(line, NextLineNumber(), 1);
    m_nState = kActiveBranch;
  } else if (directive == Directive::kEndif) {
    CheckExtraText(line, NextLineNumber(), 1);
    m_nState = kCode;
  }
  Dispose(line, length);
}

void CPreProcesser::Dispose(const char* line, std::size_t length) {
  if (m_nDirectiveMode != 0) EmitCommented(line, length, "");
}

void CPreProcesser::Emit(const char* line, std::size_t length) {
  m_output.AppendLine(line, length);
  ++m_nOutputLines;
}

// "//" + line + suffix: a disposed line, or an inclusion's marker.
void CPreProcesser::EmitCommented(const char* line, std::size_t length, const char* suffix) {
  ++m_nOutputLines;
  // One reservation for the whole line: most lines of a text may come here.
  const std::size_t suffixLength = std::strlen(suffix);
  const std::size_t size = length + suffixLength + 4;
  char* p = m_output.AppendSpace(size);
  if (!p) return;  // the buffer remembers the failure
  p[0] = '/';
  p[1] = '/';
  CopyBytes(p + 2, line, length);
  CopyBytes(p + 2 + length, suffix, suffixLength);
  p[size - 2] = '\r';
  p[size - 1] = '\n';
  m_output.Commit(size);
}

// After a stop the output holds the processed lines, then the line that
// stopped the pass and the lines never reached, as GetOutput promises.
void CPreProcesser::KeepUnprocessed(const char* line, std::size_t length) {
  Emit(line, length);
  // The rest of a source still being read is no use to a stopped item, and
  // reading it all would hold it whole in memory.
  if (m_aLines.IsReading()) return;
  while (m_pending.Take(&line, &length)) Emit(line, length);
}
