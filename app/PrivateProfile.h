// IProfile over the Windows private-profile (INI) functions.
#pragma once

#include "app/core/AppSettings.h"
#include "foundation/String.h"

class CPrivateProfile : public IProfile {
 public:
  // An empty path reads every default and writes nothing.
  explicit CPrivateProfile(const Core::CString& path) : m_strPath(path) {}

  std::uint32_t GetNumber(const char* section, const char* key, int defaultValue) override;
  Core::CString GetText(const char* section, const char* key, const char* defaultValue) override;
  void WriteText(const char* section, const char* key, const char* text) override;

 private:
  Core::CString m_strPath;
};
