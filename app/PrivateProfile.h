// IProfile over tovi.ini: read with the Windows private-profile (INI)
// functions, written whole in one step by Save.
#pragma once

#include <cstddef>

#include "app/core/AppSettings.h"
#include "app/core/IniText.h"
#include "foundation/Memory.h"
#include "foundation/String.h"

class CPrivateProfile : public IProfile {
 public:
  // An empty path reads every default and writes nothing.
  explicit CPrivateProfile(const Core::CString& path);

  std::uint32_t GetNumber(const char* section, const char* key, int defaultValue) override;
  Core::CString GetText(const char* section, const char* key, const char* defaultValue) override;
  // Collects the change for Save; reads still see the file as it is.
  void WriteText(const char* section, const char* key, const char* text) override;

  // Writes every collected change into the file at once. False, the file
  // then exactly as it was, when it fails or any allocation failed since
  // the profile was made (a text cut short would be written).
  bool Save();

 private:
  Core::CString m_strPath;
  Core::CArray<IniUpdate> m_aUpdates;
  Core::CAllocationWatch m_memory;  // since the profile was made
  bool m_bLost = false;             // a change could not be collected
};
