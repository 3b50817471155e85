// The line pass. Lines are taken from the pending list and the result is
// built in a separate output list; a line's number in a message is its
// position in the output so far plus one, which is where the in-place
// working list of the design would hold it at that moment.
#include <cstring>

#include "DirectiveLine.h"
#include "EngineMessages.h"
#include "PreProcesser.h"

int CPreProcesser::ProcessLines() {
  m_dictionary.Clear();
  m_nSavedState = -1;
  m_nState = kCode;
  m_output.Clear();
  m_output.Reserve(m_aLines.GetSize());
  Core::CString line;
  while (!m_bOutOfMemory && m_pending.Take(line)) {
    if (!ProcessLine(line)) {
      KeepUnprocessed(line);
      return 0;
    }
    if (m_nState == kLineComment) {
      m_nState = m_nSavedState;
      m_nSavedState = -1;
    }
  }
  if (!m_bOutOfMemory) PublishLines();
  if (m_bOutOfMemory) {
    // Whatever is left would be a cut-off result: none is better.
    m_pending.Clear();
    m_output.Clear();
    m_aLines.RemoveAll();
    AddItemMessage(EngineText::kOutOfMemory, m_strSource);
    return 0;
  }
  return 1;
}

bool CPreProcesser::ProcessLine(Core::CString& line) {
  // An empty line is never removed, prefixed or scanned, whatever the state.
  if (line.IsEmpty()) {
    Emit(line);
    return true;
  }
  switch (m_nState) {
    case kString:
    case kBlockComment:
      ScanAndEmit(line);
      return true;
    case kSkipping:
      SkipLine(line);
      return true;
    default:
      return Dispatch(line);
  }
}

bool CPreProcesser::Dispatch(Core::CString& line) {
  const Directive directive = ClassifyLine(line.GetText());
  if (directive == Directive::kNone) {
    ScanAndEmit(line);
    return true;
  }
  const int lineNumber = NextLineNumber();
  // The include handler disposes of its line itself.
  if (directive == Directive::kInclude) return OnInclude(line, lineNumber);
  if (!RunHandler(directive, line, lineNumber)) return false;
  Dispose(line);
  return true;
}

bool CPreProcesser::RunHandler(Directive directive, const Core::CString& line, int lineNumber) {
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
void CPreProcesser::SkipLine(Core::CString& line) {
  const Directive directive = ClassifyLine(line.GetText());
  if (directive == Directive::kElse) {
    CheckExtraText(line, NextLineNumber(), 1);
    m_nState = kActiveBranch;
  } else if (directive == Directive::kEndif) {
    CheckExtraText(line, NextLineNumber(), 1);
    m_nState = kCode;
  }
  Dispose(line);
}

void CPreProcesser::Dispose(const Core::CString& line) {
  if (m_nDirectiveMode != 0) EmitCommented(line, "");
}

void CPreProcesser::ScanAndEmit(Core::CString& line) {
  // A changed line goes back into the line's own block when it fits there.
  if (ScanLine(line.GetText(), std::strlen(line.GetText())) &&
      (m_scanOut.Failed() || !m_scanOut.CopyTo(line))) {
    m_bOutOfMemory = true;
  }
  m_scanOut.Clear();
  Emit(line);
}

void CPreProcesser::Emit(Core::CString& line) { m_output.Add(line); }

// "//" + line + suffix: a disposed line, or an inclusion's marker.
void CPreProcesser::EmitCommented(const Core::CString& line, const char* suffix) {
  const std::size_t length = std::strlen(line.GetText());
  const std::size_t suffixLength = std::strlen(suffix);
  Core::CString commented;
  if (!commented.AllocBuffer(static_cast<int>(length + suffixLength + 2))) {
    m_bOutOfMemory = true;
    return;
  }
  char* out = commented.GetBuffer();
  out[0] = out[1] = '/';
  std::memcpy(out + 2, line.GetText(), length);
  std::memcpy(out + 2 + length, suffix, suffixLength);
  Emit(commented);
}

// After a stop the working list holds the processed lines, the line that
// stopped the pass and the lines never reached, as the in-place list would.
void CPreProcesser::KeepUnprocessed(Core::CString& line) {
  Emit(line);
  Core::CString rest;
  while (m_pending.Take(rest)) Emit(rest);
  PublishLines();
}

// The pending source lines are all taken by now; the output replaces them.
void CPreProcesser::PublishLines() {
  m_aLines.ResetSize(0);
  if (!m_output.MoveTo(m_aLines)) m_bOutOfMemory = true;
}
