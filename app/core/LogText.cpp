#include "app/core/LogText.h"

#include <cstring>

bool AppendTracked(Core::CString* text, int* length, const char* tail) {
  const std::size_t tailSize = tail ? std::strlen(tail) : 0;
  if (tailSize > 0x7FFFFFF0) return false;
  const int tailLength = static_cast<int>(tailSize);
  if (tailLength == 0) return true;
  const long long needed = static_cast<long long>(*length) + tailLength;
  if (needed > 0x7FFFFFF0) return false;
  if (static_cast<unsigned long long>(needed) >= text->GetCapacity()) {
    // AllocBuffer gives the next power of two above `needed`, at least
    // twice the old block, so copies stay linear over a run.
    Core::CString larger;
    if (!larger.AllocBuffer(static_cast<int>(needed))) return false;
    if (*length > 0)
      std::memcpy(larger.GetBuffer(), text->GetBuffer(), static_cast<std::size_t>(*length));
    text->Swap(larger);
  }
  // The block is zero past the text, so the terminator is already there.
  std::memcpy(text->GetBuffer() + *length, tail, static_cast<std::size_t>(tailLength));
  *length = static_cast<int>(needed);
  return true;
}
