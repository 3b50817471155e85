// Feeds arbitrary bytes to CDocument::Load as a .tvx file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "Document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/tovi-fuzz-load-" + std::to_string(getpid()) + ".tvx";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  CDocument doc("/tmp/previous.tvx");
  doc.m_nPathMode = 1;
  if (doc.Load(path.c_str())) {
    // What loads must save and load back the same.
    doc.Save(path.c_str());
    CDocument again;
    if (!again.Load(path.c_str()) || again.GetItemCount() != doc.GetItemCount()) __builtin_trap();
  } else if (doc.m_strMessage.IsEmpty() || doc.GetItemCount() != 0) {
    __builtin_trap();  // a failed load must say why and change nothing
  }
  return 0;
}
