#include "app/PrivateProfile.h"

#include <windows.h>

std::uint32_t CPrivateProfile::GetNumber(const char* section, const char* key, int defaultValue) {
  if (m_strPath.IsEmpty()) return static_cast<std::uint32_t>(defaultValue);
  return GetPrivateProfileIntA(section, key, defaultValue, m_strPath.GetText());
}

Core::CString CPrivateProfile::GetText(const char* section, const char* key,
                                       const char* defaultValue) {
  if (m_strPath.IsEmpty()) return defaultValue;
  // The call says nothing of the length: a text that fills the buffer to
  // its last byte may have been cut, so grow and ask again.
  for (int size = 512;; size *= 2) {
    Core::CString text;
    if (!text.AllocBuffer(size)) return defaultValue;
    const DWORD length =
        GetPrivateProfileStringA(section, key, defaultValue, text.GetBuffer(),
                                 static_cast<DWORD>(size + 1), m_strPath.GetText());
    if (length < static_cast<DWORD>(size)) return text;
  }
}

void CPrivateProfile::WriteText(const char* section, const char* key, const char* text) {
  if (m_strPath.IsEmpty()) return;
  // Settings that cannot be written only start the next session from the
  // defaults; at the point they are written, the window is closing.
  (void)WritePrivateProfileStringA(section, key, text, m_strPath.GetText());
}
