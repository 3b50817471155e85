#include <cstdint>
#include <string>

#include "Document.h"
#include "File.h"
#include "FileSystem.h"
#include "ProjectFile.h"
#include "ProjectMessages.h"

namespace {

void PutInt(std::string& out, int value) {
  const std::uint32_t bits = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(bits >> shift));
}

void PutText(std::string& out, const Core::CString& text) {
  const int length = text.GetLength();
  PutInt(out, length);
  out.append(text.GetText(), static_cast<std::size_t>(length));
}

std::string Serialize(const CProjectFileContent& content) {
  std::string out("TVX");
  PutInt(out, content.items.GetSize());
  for (int i = 0; i < content.items.GetSize(); ++i) {
    PutText(out, content.items.ElementAt(i).m_strSource);
    PutText(out, content.items.ElementAt(i).m_strDestination);
  }
  PutInt(out, ProjectFileVersion());
  PutInt(out, content.pathMode);
  PutInt(out, content.directiveMode);
  return out;
}

}  // namespace

bool WriteProjectFile(const Core::CString& path, const CProjectFileContent& content,
                      Core::CString* message) {
  if (path.IsEmpty()) {
    *message = kMissingNameMessage;
    return false;
  }
  const std::string bytes = Serialize(content);
  const Core::CString temporary = path + Core::CString(".tovi-tmp");
  Core::CFile file;
  if (!file.Open(temporary, true, true)) {
    message->Format(kSaveOpenFailedMessage, path.GetText());
    return false;
  }
  const bool written = bytes.size() < 0x7FFFFFFF &&
                       file.Write(bytes.data(), static_cast<int>(bytes.size())) && file.Flush();
  file.Close();
  if (!written || !Core::MoveFileReplacing(temporary, path)) {
    Core::RemoveFile(temporary);
    message->Format(kSaveWriteFailedMessage, path.GetText());
    return false;
  }
  return true;
}
