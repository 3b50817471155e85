#include "app/Association.h"

#include <windows.h>
// shlobj.h needs windows.h before it.
#include <shlobj.h>

#include "app/RegistryKey.h"

namespace {

const HKEY kRoot = HKEY_CURRENT_USER;
constexpr char kExtensionKey[] = "Software\\Classes\\.tvx";
constexpr char kProgId[] = "Tovi";
constexpr char kProgIdKey[] = "Software\\Classes\\Tovi";
constexpr char kIconKey[] = "Software\\Classes\\Tovi\\DefaultIcon";
constexpr char kShellKey[] = "Software\\Classes\\Tovi\\Shell";
constexpr char kOpenKey[] = "Software\\Classes\\Tovi\\Shell\\open";
constexpr char kCommandKey[] = "Software\\Classes\\Tovi\\Shell\\open\\command";
constexpr int kValueBufferSize = 500;

// The extension key's default value; empty when it cannot be read.
Core::CString ExtensionTarget() {
  CRegistryKey key;
  if (!key.Open(kRoot, kExtensionKey, false, false)) return Core::CString();
  // One byte more than offered, so a value stored without terminator ends.
  char buffer[kValueBufferSize + 1] = {};
  DWORD size = kValueBufferSize;
  if (RegQueryValueExA(key.m_hKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                       &size) != ERROR_SUCCESS) {
    return Core::CString();
  }
  return buffer;
}

void WriteDefaultValue(const char* subkey, const Core::CString& text) {
  CRegistryKey key;
  if (key.Open(kRoot, subkey, true, true)) key.SetString(nullptr, text);
}

}  // namespace

bool IsAssociated() {
  if (!(ExtensionTarget() == Core::CString(kProgId))) return false;
  CRegistryKey key;
  return key.Open(kRoot, kProgIdKey, false, false);
}

void SetAssociation(bool enable, const Core::CString& modulePath) {
  if (enable) {
    // Without the executable's path the icon and command would point nowhere.
    if (modulePath.IsEmpty()) return;
    WriteDefaultValue(kExtensionKey, kProgId);
    WriteDefaultValue(kIconKey, modulePath + ",0");
    // Quoted: the start-up reads its argument from the command line after
    // the program's own name, which an unquoted path with blanks (Program
    // Files) would split.
    WriteDefaultValue(kCommandKey, Core::CString("\"") + modulePath + "\" \"%1\"");
  } else {
    CRegistryKey key;
    // Unchecking the box (or never checking it) must not take the extension
    // away from another program that owns it.
    if (ExtensionTarget() == Core::CString(kProgId)) key.DeleteKey(kRoot, kExtensionKey);
    const char* const progIdKeys[] = {kCommandKey, kOpenKey, kShellKey, kIconKey, kProgIdKey};
    for (const char* subkey : progIdKeys) key.DeleteKey(kRoot, subkey);
  }
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
