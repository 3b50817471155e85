#include <cstdint>

#include "project/Document.h"
#include "foundation/File.h"
#include "project/ProjectFile.h"
#include "project/ProjectMessages.h"

namespace {

// Settings are present only from this version on.
constexpr int kFirstVersionWithSettings = 30;
// The fewest bytes an item can take: a length, a byte, and a destination
// length and byte that may be cut short at the end of the file.
constexpr std::uint32_t kMinItemBytes = 7;

class CReader {
 public:
  explicit CReader(Core::CFile& file) : m_file(file), m_nLeft(file.GetSize()) {}

  // A read failed: what was read is not the file's, and nothing after it
  // is read.
  bool Failed() const { return m_bFailed; }

  // Reads up to 4 bytes as a little-endian int; bytes not read count as 0.
  // Returns the number of bytes read.
  int ReadInt(int* value) {
    *value = 0;
    return ReadIntOver(value);
  }

  // Reads up to 4 bytes over the little-endian bytes of *value: bytes the
  // file does not hold keep their value (at its end nothing changes).
  int ReadIntOver(int* value) {
    const std::uint32_t old = static_cast<std::uint32_t>(*value);
    unsigned char bytes[4] = {static_cast<unsigned char>(old), static_cast<unsigned char>(old >> 8),
                              static_cast<unsigned char>(old >> 16),
                              static_cast<unsigned char>(old >> 24)};
    const int n = Read(bytes, 4);
    *value = static_cast<int>(
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
    return n;
  }

  // Reads a path of the given length; false for a length of 0 or less, one
  // longer than what is left of the file, nothing read, or a NUL byte among
  // the bytes (the path would be cut there, and an empty one cannot be saved).
  bool ReadText(int length, Core::CString* text) {
    if (length <= 0 || static_cast<std::uint32_t>(length) > m_nLeft) return false;
    if (!text->AllocBuffer(length)) return false;
    const int n = Read(text->GetBuffer(), length);
    return n == length && text->GetLength() == n;
  }

  // Bytes read: fewer than `count` only at the end of the file, 0 after a
  // failed read.
  int Read(void* buffer, int count) {
    if (m_bFailed) return 0;
    const int n = m_file.Read(buffer, count);
    if (n < 0) {
      m_bFailed = true;
      return 0;
    }
    m_nLeft -= static_cast<std::uint32_t>(n) <= m_nLeft ? static_cast<std::uint32_t>(n) : m_nLeft;
    return n;
  }

  std::uint32_t Left() const { return m_nLeft; }

 private:
  Core::CFile& m_file;
  std::uint32_t m_nLeft;
  bool m_bFailed = false;
};

bool ReadItems(CReader& reader, Core::CArray<CItem>* items) {
  int count = 0;
  if (reader.ReadInt(&count) == 0) return false;
  if (count > 0 && static_cast<std::uint32_t>(count) > reader.Left() / kMinItemBytes + 1) {
    return false;
  }
  for (int i = 0; i < count; ++i) {
    CItem item;
    int length = 0;
    if (reader.ReadInt(&length) == 0 || !reader.ReadText(length, &item.m_strSource)) return false;
    if (reader.ReadInt(&length) == 0 || !reader.ReadText(length, &item.m_strDestination)) {
      return false;
    }
    if (!items->Add(item)) return false;
  }
  return true;
}

}  // namespace

bool ReadProjectFile(const char* path, CProjectFileContent* content, Core::CString* message) {
  if (!path) {
    *message = kMissingNameMessage;
    return false;
  }
  Core::CFile file;
  if (!file.Open(path, false, false)) {
    message->Format(kLoadOpenFailedMessage, path);
    return false;
  }
  CReader reader(file);
  char magic[16] = {0};
  reader.Read(magic, 3);
  const bool itemsRead =
      Core::CString(magic) == Core::CString("TVX") && ReadItems(reader, &content->items);
  if (reader.Failed()) {
    message->Format(kLoadReadFailedMessage, path);
    return false;
  }
  if (!itemsRead) {
    *message = kFormatErrorMessage;
    return false;
  }
  int version = 0;
  if (reader.ReadInt(&version) == 4 && version >= kFirstVersionWithSettings) {
    reader.ReadIntOver(&content->pathMode);
    reader.ReadIntOver(&content->directiveMode);
    content->hasSettings = true;
    // Older writers end here and older readers stop here; anything but a
    // whole field holding 65001 leaves the project in code page 932.
    int codePage = 0;
    const bool utf8 = reader.ReadInt(&codePage) == 4 && codePage == kSourceUtf8;
    content->sourceCodePage = utf8 ? kSourceUtf8 : kSourceCp932;
  }
  // A settings block that could not be read would load as the defaults.
  if (reader.Failed()) {
    message->Format(kLoadReadFailedMessage, path);
    return false;
  }
  return true;
}
