#include "LineSplitter.h"

#include <new>

namespace {
constexpr int kReadChunk = 1024;

bool IsSpecial(char c) { return c == '\n' || c == '\r' || c == '\0'; }
}  // namespace

void CLineSplitter::Feed(const char* bytes, std::size_t count) {
  if (count == 0) return;
  std::size_t i = 0;
  while (i < count) {
    // Ordinary bytes are taken in runs; only LF, CR and NUL need a decision.
    std::size_t run = i;
    while (run < count && !IsSpecial(bytes[run])) ++run;
    if (run > i && !m_bCut) m_line.Append(bytes + i, run - i);
    if (run == count) break;
    if (bytes[run] == '\n') {
      EndLine();
    } else if (bytes[run] == '\0' && m_nRule == kNulEndsText) {
      m_bCut = true;
    }
    i = run + 1;
  }
  m_bAny = true;
  m_cLast = bytes[count - 1];
}

void CLineSplitter::Finish() {
  if (m_bAny && m_cLast != '\n') EndLine();
  m_bAny = false;
}

void CLineSplitter::EndLine() {
  m_bCut = false;
  Core::CString line;
  if (!m_line.CopyTo(line)) m_bFailed = true;
  m_lines.Add(line);
  m_line.Clear();
}

bool ReadFileLines(Core::CFile& file, CLineVector& lines, CLineSplitter::NulRule rule) {
  Core::CAutoPtrArray<unsigned char> buffer(new (std::nothrow) unsigned char[kReadChunk]);
  if (!buffer.GetData()) return false;
  CLineSplitter splitter(lines, rule);
  for (;;) {
    const int read = file.Read(buffer.GetData(), kReadChunk);
    if (read <= 0) break;
    splitter.Feed(reinterpret_cast<const char*>(buffer.GetData()), static_cast<std::size_t>(read));
  }
  splitter.Finish();
  return !splitter.Failed();
}
