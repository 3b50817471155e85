#include "app/RegistryKey.h"

CRegistryKey::~CRegistryKey() { Close(); }

void CRegistryKey::Close() {
  if (m_hKey) RegCloseKey(m_hKey);
  m_hKey = nullptr;
  m_hRoot = nullptr;
}

bool CRegistryKey::Open(HKEY root, const char* subkey, bool write, bool create) {
  Close();
  HKEY key = nullptr;
  LONG result;
  if (create) {
    result = RegCreateKeyExA(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  } else {
    result = RegOpenKeyExA(root, subkey, 0, write ? KEY_ALL_ACCESS : KEY_READ, &key);
  }
  if (result != ERROR_SUCCESS) return false;
  m_hKey = key;
  m_hRoot = root;
  m_strPath = subkey;
  return true;
}

bool CRegistryKey::SetString(const char* valueName, const Core::CString& text) {
  if (!m_hKey) return false;
  const DWORD size = static_cast<DWORD>(text.GetLength() + 1);
  return RegSetValueExA(m_hKey, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.GetText()),
                        size) == ERROR_SUCCESS;
}

bool CRegistryKey::DeleteKey(HKEY root, const char* subkey) {
  // Copied: closing the own key below must not take the name with it.
  const Core::CString path =
      subkey ? Core::CString(subkey) : (m_hKey ? m_strPath : Core::CString());
  if (!root) {
    root = m_hRoot;
    Close();
  }
  // An empty name would make the root itself the key to delete.
  if (!root || path.IsEmpty()) return false;
  if (RegDeleteKeyA(root, path.GetText()) != ERROR_SUCCESS) return false;
  Close();
  return true;
}
