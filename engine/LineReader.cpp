#include "engine/LineReader.h"

#include <climits>
#include <cstring>

namespace {

// Reads after the expected end still go in chunks of this size, in case
// the file grew since its size was asked.
constexpr std::size_t kReadChunk = 64 * 1024;

// Takes out CR everywhere, and NUL by the rule: dropped alone, or with the
// rest of its line. Returns the new length.
std::size_t Compact(char* bytes, std::size_t size, NulRule rule) {
  const char* end = bytes + size;
  const char* cr = static_cast<const char*>(std::memchr(bytes, '\r', size));
  const char* nul = static_cast<const char*>(std::memchr(bytes, '\0', size));
  const char* read = cr && (!nul || cr < nul) ? cr : nul;
  if (!read) return size;  // the common case: nothing to take out
  char* write = bytes + (read - bytes);
  if (!nul) {
    // Only CR to take out (text from Windows): move the runs between them.
    while (read < end) {
      const char* next = static_cast<const char*>(
          std::memchr(read + 1, '\r', static_cast<std::size_t>(end - read - 1)));
      const char* stop = next ? next : end;
      const std::size_t run = static_cast<std::size_t>(stop - read - 1);
      std::memmove(write, read + 1, run);
      write += run;
      read = stop;
    }
    return static_cast<std::size_t>(write - bytes);
  }
  while (read < end) {
    const char c = *read;
    if (c == '\r') {
      ++read;
    } else if (c == '\0') {
      if (rule == NulRule::kDrop) {
        ++read;
      } else {
        const void* lf = std::memchr(read, '\n', static_cast<std::size_t>(end - read));
        read = lf ? static_cast<const char*>(lf) : end;
      }
    } else {
      *write++ = c;
      ++read;
    }
  }
  return static_cast<std::size_t>(write - bytes);
}

// Turns the raw bytes of `text` into lines, each ended by LF.
bool FormLines(CTextBuffer& text, NulRule rule) {
  const std::size_t size = text.GetLength();
  if (size == 0) return true;
  // Decided on the bytes as read: "a\n\r" ends with an empty line.
  const bool unterminated = text.GetText()[size - 1] != '\n';
  text.Truncate(Compact(text.GetData(), size, rule));
  if (!text.Reserve(text.GetLength() + 1 + CLineBlock::kReadPastEnd)) return false;
  if (unterminated) text.AppendChar('\n');
  return true;
}

}  // namespace

// Pieces of this size keep the block small and in the caches; a line
// longer than that grows it.
constexpr std::size_t kReadPiece = 256 * 1024;

void CLineBlock::StartReading(Core::CFile& file) {
  Clear();
  m_pFile = &file;
  (void)ReadOn();
}

// Moves the line not yet ended to the front, then reads a piece after it
// with its CR and NUL taken out. At the end of the file a last byte other
// than LF is followed by one, as for a file read whole. False when nothing
// is left to take, or when the read failed: what is left then is no line
// of the file's, and nothing more is handed out.
bool CLineBlock::ReadOn() {
  const std::size_t rest = m_text.GetLength() - m_nNext;
  if (m_nNext != 0) {
    char* data = m_text.GetData();
    std::memmove(data, data + m_nNext, rest);
    m_text.Truncate(rest);
    m_nAhead = m_nAhead > m_nNext ? m_nAhead - m_nNext : 0;
    m_nNext = 0;
  }
  char* space = m_text.AppendSpace(kReadPiece + kReadPastEnd);
  if (!space) {
    m_pFile = nullptr;
    return false;
  }
  const int read = m_pFile->Read(space, static_cast<int>(kReadPiece));
  if (read < 0) {
    m_pFile = nullptr;
    m_bReadFailed = true;
    return false;
  }
  if (read == 0) {
    m_pFile = nullptr;
    // Within the room asked for the piece: this cannot grow the block.
    if (!m_bEndsWithLf) m_text.AppendChar('\n');
    m_bEndsWithLf = true;
    return m_text.GetLength() != 0;
  }
  m_bEndsWithLf = space[read - 1] == '\n';
  const std::size_t kept = Compact(space, static_cast<std::size_t>(read), NulRule::kDrop);
  m_text.Commit(static_cast<std::size_t>(read));
  m_text.Truncate(rest + kept);  // wipes what the compaction left behind
  return true;
}

bool SplitLines(const char* bytes, std::size_t size, NulRule rule, CLineBlock& lines) {
  lines.Clear();
  CTextBuffer& text = lines.Text();
  if (!text.Reserve(size + 1 + CLineBlock::kReadPastEnd)) return false;
  text.Append(bytes, size);
  return FormLines(text, rule);
}

ReadResult ReadFileLines(Core::CFile& file, std::uint64_t size, NulRule rule, CLineBlock& lines) {
  lines.Clear();
  CTextBuffer& text = lines.Text();
  // One read for the whole file: a read that returns less than it was
  // asked for has met the end of the file. A file that grew since its
  // size was asked is read on to its new end.
  std::size_t wanted = static_cast<std::size_t>(size) + 1;
  for (;;) {
    char* space = text.AppendSpace(wanted + CLineBlock::kReadPastEnd);
    if (!space) return ReadResult::kOutOfMemory;
    const int count = wanted > INT_MAX ? INT_MAX : static_cast<int>(wanted);
    const int read = file.Read(space, count);
    if (read < 0) return ReadResult::kReadFailed;
    if (read == 0) break;
    text.Commit(static_cast<std::size_t>(read));
    if (read < count) break;
    // The rest of the block first: the end of the file is usually there.
    const std::size_t used = text.GetLength() + 1 + CLineBlock::kReadPastEnd;
    wanted = text.GetCapacity() > used ? text.GetCapacity() - used : kReadChunk;
  }
  return FormLines(text, rule) ? ReadResult::kDone : ReadResult::kOutOfMemory;
}
