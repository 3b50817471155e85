#include "PrivateProfile.h"

#include <windows.h>


std::uint32_t CPrivateProfile::GetNumber(const char* section, const char* key, int defaultValue) {
  if (m_strPath.IsEmpty()) return static_cast<std::uint32_t>(defaultValue);
  return GetPrivateProfileIntA(section, key, defaultValue, m_strPath.GetText());
}

Core::CString CPrivateProfile::GetText(const char* section, const char* key, const char* defaultValue,
                                       int bufferSize) {
  if (m_strPath.IsEmpty() || bufferSize <= 0) return defaultValue;
  // A CString block: running out of memory gives the default, not an abort.
  Core::CString text;
  if (!text.AllocBuffer(bufferSize)) return defaultValue;
  GetPrivateProfileStringA(section, key, defaultValue, text.GetBuffer(),
                           static_cast<DWORD>(bufferSize), m_strPath.GetText());
  return text;
}

void CPrivateProfile::WriteText(const char* section, const char* key, const char* text) {
  if (m_strPath.IsEmpty()) return;
  WritePrivateProfileStringA(section, key, text, m_strPath.GetText());
}
