#include "app/core/IniText.h"

#include <climits>
#include <cstring>

#include "foundation/Cp932Text.h"
#include "foundation/Memory.h"
#include "foundation/ReplacingFile.h"

namespace {

// One line of the file: bytes of the old text, or a line an update wrote.
struct Line {
  enum Kind { kOther, kSection, kKey };
  Kind kind = kOther;
  bool blank = false;         // nothing but white space
  std::size_t start = 0;      // the old content's offset in the old text
  std::size_t length = 0;     // the old content's bytes, without the line end
  std::size_t endLength = 0;  // the old line end: 0 (none), 1 or 2 bytes
  std::size_t nameStart = 0;  // a section's or key's name, within the content
  std::size_t nameLength = 0;
  bool written = false;  // the content is `text`, ended by CR LF
  Core::CString text;
};

// Whether text starts with the bytes of `prefix`.
bool StartsWith(const char* text, std::size_t size, const char* prefix) {
  const std::size_t length = std::strlen(prefix);
  return size >= length && std::memcmp(text, prefix, length) == 0;
}

std::size_t CharLength(const char* p, std::size_t i, std::size_t end) {
  return Core::Cp932::IsLeadByte(static_cast<unsigned char>(p[i])) && i + 1 < end ? 2 : 1;
}

void SetName(const char* p, std::size_t begin, std::size_t end, Line::Kind kind, Line* line) {
  while (begin < end && Core::Cp932::IsSpace(p[begin])) ++begin;
  while (end > begin && Core::Cp932::IsSpace(p[end - 1])) --end;
  line->kind = kind;
  line->nameStart = begin;
  line->nameLength = end - begin;
}

// Reads the content as the profile functions do: "[name]" up to the last
// ']' opens a section, "name=value" is a key, anything else is kept unread.
void Classify(const char* p, std::size_t length, std::size_t begin, Line* line) {
  while (begin < length && Core::Cp932::IsSpace(p[begin])) ++begin;
  std::size_t end = length;
  while (end > begin && Core::Cp932::IsSpace(p[end - 1])) --end;
  line->kind = Line::kOther;
  line->blank = begin == end;
  if (line->blank) return;
  if (p[begin] == '[') {
    // ']' may be the second byte of a double-byte character: step by characters.
    std::size_t close = 0;
    for (std::size_t i = begin + 1; i < end; i += CharLength(p, i, end)) {
      if (p[i] == ']') close = i;
    }
    if (close != 0) SetName(p, begin + 1, close, Line::kSection, line);
    return;
  }
  // '=' is never the second byte of a double-byte character.
  const void* equals = std::memchr(p + begin, '=', end - begin);
  if (equals) {
    SetName(p, begin, static_cast<std::size_t>(static_cast<const char*>(equals) - p), Line::kKey,
            line);
  }
}

const char* Content(const char* old, const Line& line) {
  return line.written ? line.text.GetText() : old + line.start;
}

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive for ASCII letters; both bytes of a double-byte
// character must match exactly.
bool SameName(const char* old, const Line& line, const Core::CString& name) {
  if (line.nameLength != static_cast<std::size_t>(name.GetLength())) return false;
  const char* a = Content(old, line) + line.nameStart;
  const char* b = name.GetText();
  for (std::size_t i = 0; i < line.nameLength; ++i) {
    if (CharLength(a, i, line.nameLength) == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldCase(a[i]) != FoldCase(b[i])) {
      return false;
    }
  }
  return true;
}

bool SplitLines(const char* text, std::size_t size, Core::CArray<Line>* lines) {
  std::size_t pos = 0;
  while (pos < size) {
    Line line;
    line.start = pos;
    std::size_t end = pos;
    while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
    line.length = end - pos;
    if (end < size) {
      line.endLength = text[end] == '\r' && end + 1 < size && text[end + 1] == '\n' ? 2 : 1;
    }
    // A UTF-8 byte order mark is no part of the first line's text.
    const std::size_t skip = pos == 0 && StartsWith(text, line.length, "\xEF\xBB\xBF") ? 3 : 0;
    Classify(text + pos, line.length, skip, &line);
    if (!lines->Add(line)) return false;
    pos = end + line.endLength;
  }
  return true;
}

Line WrittenLine(const Core::CString& text) {
  Line line;
  line.written = true;
  line.text = text;
  Classify(line.text.GetText(), static_cast<std::size_t>(line.text.GetLength()), 0, &line);
  return line;
}

int FindSection(const char* old, const Core::CArray<Line>& lines, const Core::CString& name) {
  for (int i = 0; i < lines.GetSize(); ++i) {
    if (lines[i].kind == Line::kSection && SameName(old, lines[i], name)) return i;
  }
  return -1;
}

bool Apply(const char* old, const IniUpdate& update, Core::CArray<Line>* lines) {
  const Core::CString keyLine = update.key + Core::CString("=") + update.value;
  const int header = FindSection(old, *lines, update.section);
  if (header < 0) {
    if (update.remove) return true;
    const Core::CString sectionLine = Core::CString("[") + update.section + Core::CString("]");
    return lines->Add(WrittenLine(sectionLine)) && lines->Add(WrittenLine(keyLine));
  }
  int last = header;  // the section's last line that is not blank
  for (int i = header + 1; i < lines->GetSize() && (*lines)[i].kind != Line::kSection; ++i) {
    Line& line = (*lines)[i];
    if (line.kind == Line::kKey && SameName(old, line, update.key)) {
      if (update.remove) {
        lines->RemoveAt(i);
        return true;
      }
      // The line keeps the key's name as the file spells it.
      Core::CString text;
      if (!text.AllocBuffer(static_cast<int>(line.nameLength))) return false;
      std::memcpy(text.GetBuffer(), Content(old, line) + line.nameStart, line.nameLength);
      text += "=";
      text += update.value;
      line = WrittenLine(text);
      return true;
    }
    if (!line.blank) last = i;
  }
  return update.remove || lines->InsertAt(last + 1, WrittenLine(keyLine));
}

bool Append(Core::CArray<char>* out, const char* bytes, std::size_t count) {
  const int size = out->GetSize();
  if (count == 0) return true;
  if (count > static_cast<std::size_t>(INT_MAX - size) ||
      !out->SetSize(size + static_cast<int>(count))) {
    return false;
  }
  std::memcpy(out->GetData() + size, bytes, count);
  return true;
}

bool Join(const char* old, const Core::CArray<Line>& lines, Core::CArray<char>* out) {
  for (int i = 0; i < lines.GetSize(); ++i) {
    const Line& line = lines[i];
    const std::size_t length =
        line.written ? static_cast<std::size_t>(line.text.GetLength()) : line.length;
    if (!Append(out, Content(old, line), length)) return false;
    bool ok = true;
    if (!line.written && line.endLength > 0) {
      ok = Append(out, old + line.start + line.length, line.endLength);
    } else if (line.written || i + 1 < lines.GetSize()) {
      // A last line without an end gets one when a line now follows it.
      ok = Append(out, "\r\n", 2);
    }
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool UpdateIniText(const char* text, std::size_t size, const Core::CArray<IniUpdate>& updates,
                   Core::CArray<char>* out) {
  out->RemoveAll();
  // A UTF-16 file would be spoilt by single bytes written into it.
  if (StartsWith(text, size, "\xFF\xFE") || StartsWith(text, size, "\xFE\xFF")) return false;
  const Core::CAllocationWatch memory;
  Core::CArray<Line> lines;
  if (!SplitLines(text, size, &lines)) return false;
  for (int i = 0; i < updates.GetSize(); ++i) {
    if (!Apply(text, updates[i], &lines)) return false;
  }
  // A name or value cut short by a failed allocation would be written wrong.
  return Join(text, lines, out) && !memory.Failed();
}

bool ReadIniFile(Core::CFile& file, const Core::CString& path, Core::CArray<char>* bytes) {
  bytes->RemoveAll();
  if (!file.Open(path, false, false)) {
    // Only a file that is not there is empty: one that would not open
    // would otherwise be replaced by the written keys alone.
    return Core::GetReplaceState(path) == Core::ReplaceState::kMissing;
  }
  char chunk[4096];
  bool ok = true;
  for (;;) {
    const int n = file.Read(chunk, sizeof chunk);
    if (n == 0) break;  // the end: a failed read answers -1
    if (n < 0 || !Append(bytes, chunk, static_cast<std::size_t>(n))) {
      ok = false;
      break;
    }
  }
  // An open file would not be replaced.
  file.Close();
  return ok;
}

bool SaveIniUpdates(const Core::CString& path, const Core::CArray<IniUpdate>& updates) {
  Core::CFile reader;
  Core::CArray<char> old;
  Core::CArray<char> text;
  if (!ReadIniFile(reader, path, &old) ||
      !UpdateIniText(old.GetData(), static_cast<std::size_t>(old.GetSize()), updates, &text)) {
    return false;
  }
  // A symlinked tovi.ini stays a link to the file that is updated.
  Core::CReplacingFile file;
  return file.Open(path, Core::CReplacingFile::kFollowLink) &&
         file.Write(text.GetData(), static_cast<std::size_t>(text.GetSize())) && file.Commit(true);
}
