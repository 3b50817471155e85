#include "PrivateProfile.h"

#include <windows.h>

#include <vector>

std::uint32_t CPrivateProfile::GetNumber(const char* section, const char* key, int defaultValue) {
  if (m_strPath.IsEmpty()) return static_cast<std::uint32_t>(defaultValue);
  return GetPrivateProfileIntA(section, key, defaultValue, m_strPath.GetText());
}

Core::CString CPrivateProfile::GetText(const char* section, const char* key, const char* defaultValue,
                                       int bufferSize) {
  if (m_strPath.IsEmpty() || bufferSize <= 0) return defaultValue;
  std::vector<char> buffer(static_cast<std::size_t>(bufferSize), '\0');
  GetPrivateProfileStringA(section, key, defaultValue, buffer.data(), static_cast<DWORD>(bufferSize),
                           m_strPath.GetText());
  return buffer.data();
}

void CPrivateProfile::WriteText(const char* section, const char* key, const char* text) {
  if (m_strPath.IsEmpty()) return;
  WritePrivateProfileStringA(section, key, text, m_strPath.GetText());
}
