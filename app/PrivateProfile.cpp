#include "app/PrivateProfile.h"

#include <windows.h>

#include "foundation/Memory.h"

CPrivateProfile::CPrivateProfile(const Core::CString& path) : m_strPath(path) {}

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
  IniUpdate update;
  update.section = section;
  update.key = key;
  update.value = text ? text : "";
  update.remove = text == nullptr;
  if (!m_aUpdates.Add(update)) m_bLost = true;
}

bool CPrivateProfile::Save() {
  if (m_strPath.IsEmpty() || m_bLost || m_memory.Failed()) {
    return false;
  }
  return SaveIniUpdates(m_strPath, m_aUpdates);
}
