// CRegistryKey: one open registry key, closed when the object goes.
#pragma once

#include <windows.h>

#include "foundation/String.h"

class CRegistryKey {
 public:
  CRegistryKey() = default;
  ~CRegistryKey();
  CRegistryKey(const CRegistryKey&) = delete;
  CRegistryKey& operator=(const CRegistryKey&) = delete;

  // Closes the key if open; key and root become null.
  void Close();
  // Closes any open key, then creates (all access) or opens (all access
  // when `write`, else read) root\subkey. On success remembers root and path.
  bool Open(HKEY root, const char* subkey, bool write, bool create);
  // REG_SZ with its terminator; a null name sets the default value.
  bool SetString(const char* valueName, const Core::CString& text);
  // Deletes root\subkey (a key without subkeys). A null subkey means the
  // own path, a null root the own root (the own key is closed first). On
  // success key and root are null. False when there is nothing to name.
  bool DeleteKey(HKEY root = nullptr, const char* subkey = nullptr);

  HKEY m_hKey = nullptr;
  HKEY m_hRoot = nullptr;
  Core::CString m_strPath;
};
