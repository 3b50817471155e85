#include "LineReader.h"

#include <climits>
#include <cstring>

#include "TextBuffer.h"

namespace {

// Large reads: the file is held whole anyway, and each read is a system call.
constexpr int kReadChunk = 64 * 1024;

std::size_t CountLines(const char* bytes, std::size_t size) {
  std::size_t count = 0;
  const char* end = bytes + size;
  for (const char* p = bytes; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) {
    ++count;
  }
  if (size > 0 && bytes[size - 1] != '\n') ++count;
  return count;
}

bool StoreLine(const char* text, std::size_t length, NulRule rule, Core::CString& line) {
  if (rule == NulRule::kEndsText) {
    const void* nul = std::memchr(text, '\0', length);
    if (nul) length = static_cast<std::size_t>(static_cast<const char*>(nul) - text);
  }
  std::size_t kept = length;
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '\r' || text[i] == '\0') --kept;
  }
  if (kept == 0) return true;  // an empty line needs no block
  if (!line.AllocBuffer(static_cast<int>(kept))) return false;
  char* out = line.GetBuffer();
  if (kept == length) {
    std::memcpy(out, text, length);
    return true;
  }
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] != '\r' && text[i] != '\0') *out++ = text[i];
  }
  return true;
}

}  // namespace

bool SplitLines(const char* bytes, std::size_t size, NulRule rule,
                Core::CArray<Core::CString>& lines) {
  const std::size_t count = CountLines(bytes, size);
  const int base = lines.GetSize();
  if (count > static_cast<std::size_t>(INT_MAX - base - 1) ||
      !lines.SetSize(base + static_cast<int>(count))) {
    return false;
  }
  int index = base;
  for (std::size_t start = 0; start < size;) {
    const void* lf = std::memchr(bytes + start, '\n', size - start);
    const std::size_t end =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - bytes) : size;
    if (!StoreLine(bytes + start, end - start, rule, lines[index++])) return false;
    start = end + 1;
  }
  return true;
}

bool ReadFileLines(Core::CFile& file, NulRule rule, Core::CArray<Core::CString>& lines) {
  CTextBuffer bytes;
  bytes.Reserve(static_cast<std::size_t>(file.GetSize()) + 1);  // a hint: the size may change
  for (;;) {
    char* space = bytes.AppendSpace(kReadChunk);
    if (!space) return false;
    const int read = file.Read(space, kReadChunk);
    if (read <= 0) break;
    bytes.Commit(static_cast<std::size_t>(read));
  }
  return SplitLines(bytes.GetText(), bytes.GetLength(), rule, lines);
}
