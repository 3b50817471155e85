#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "project/Document.h"
#include "foundation/FileSystem.h"
#include "foundation/Memory.h"
#include "project/ProjectFile.h"
#include "project/ProjectMessages.h"
#include "foundation/ReplacingFile.h"
#include "ToviVersion.h"

namespace {

// Collects the file's bytes in a fixed block and hands them on in large
// writes; needs no heap, so saving cannot run out of memory.
class CProjectWriter {
 public:
  explicit CProjectWriter(Core::CReplacingFile& file) : m_file(file) {}

  void PutBytes(const char* bytes, std::size_t size) {
    while (size > 0) {
      if (m_nUsed == sizeof m_buffer) Flush();
      std::size_t n = sizeof m_buffer - m_nUsed;
      if (n > size) n = size;
      std::memcpy(m_buffer + m_nUsed, bytes, n);
      m_nUsed += n;
      bytes += n;
      size -= n;
    }
  }
  void PutInt(int value) {
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    const char bytes[4] = {static_cast<char>(bits), static_cast<char>(bits >> 8),
                           static_cast<char>(bits >> 16), static_cast<char>(bits >> 24)};
    PutBytes(bytes, 4);
  }
  void PutText(const Core::CString& text) {
    PutInt(text.GetLength());
    PutBytes(text.GetText(), static_cast<std::size_t>(text.GetLength()));
  }
  // False when any write failed.
  bool Flush() {
    if (m_nUsed > 0 && !m_file.Write(m_buffer, m_nUsed)) m_bFailed = true;
    m_nUsed = 0;
    return !m_bFailed;
  }

 private:
  Core::CReplacingFile& m_file;
  char m_buffer[64 * 1024];
  std::size_t m_nUsed = 0;
  bool m_bFailed = false;
};

bool WriteContent(Core::CReplacingFile& file, const CProjectFileContent& content) {
  CProjectWriter out(file);
  out.PutBytes("TVX", 3);
  out.PutInt(content.items.GetSize());
  for (int i = 0; i < content.items.GetSize(); ++i) {
    out.PutText(content.items.ElementAt(i).m_strSource);
    out.PutText(content.items.ElementAt(i).m_strDestination);
  }
  out.PutInt(ProjectFileVersion());
  out.PutInt(content.pathMode);
  out.PutInt(content.directiveMode);
  if (content.sourceCodePage == kSourceUtf8) out.PutInt(kSourceUtf8);
  return out.Flush();
}

}  // namespace

int ProjectFileVersion() {
  Core::CString version(TOVI_VERSION_TEXT);
  const int point = version.Find(".");
  if (point >= 0) version.Delete(point, 1);
  return static_cast<int>(std::atol(version.GetText()));
}

bool WriteProjectFile(const Core::CString& path, const CProjectFileContent& content,
                      Core::CString* message) {
  if (path.IsEmpty()) {
    *message = kMissingNameMessage;
    return false;
  }
  const Core::CAllocationWatch memory;
  // Saved through a symlink, the file it names is updated and the link kept.
  Core::CReplacingFile file;
  if (!file.Open(path, Core::CReplacingFile::kFollowLink)) {
    // A file that is there (or may be) but may not be replaced (read-only,
    // a folder) is a failed write; a folder that is missing, a failed open.
    const bool missing = Core::QueryPath(path) == Core::PathState::kMissing;
    message->Format(missing ? kSaveOpenFailedMessage : kSaveWriteFailedMessage, path.GetText());
    return false;
  }
  // Nothing is put in place after a failed allocation: a name or text it
  // cut short could make the result wrong.
  if (!WriteContent(file, content) || memory.Failed() || !file.Commit(true)) {
    message->Format(kSaveWriteFailedMessage, path.GetText());
    return false;
  }
  return true;
}
