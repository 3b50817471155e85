// The .tvx association in Wine's registry, read back with the raw API so a
// fault in CRegistryKey cannot hide itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/Association.h"
#include "app/RegistryKey.h"

namespace {

const char kExtension[] = "Software\\Classes\\.tvx";
const char kProgId[] = "Software\\Classes\\Tovi";
const char kScratch[] = "Software\\ToviAssociationTest";
const char* const kAllKeys[] = {kExtension,
                                "Software\\Classes\\Tovi\\Shell\\open\\command",
                                "Software\\Classes\\Tovi\\Shell\\open",
                                "Software\\Classes\\Tovi\\Shell",
                                "Software\\Classes\\Tovi\\DefaultIcon",
                                kProgId};

bool KeyExists(const char* subkey) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetDefault(const char* subkey, const char* text) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &key, nullptr));
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>(lstrlenA(text) + 1));
  RegCloseKey(key);
}

struct Value {
  DWORD type = REG_NONE;
  DWORD size = 0;
  std::string text;
};

Value ReadDefault(const char* subkey) {
  Value value;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  char buffer[600] = {};
  value.size = sizeof buffer - 1;
  if (RegQueryValueExA(key, nullptr, nullptr, &value.type, reinterpret_cast<BYTE*>(buffer),
                       &value.size) == ERROR_SUCCESS) {
    value.text = buffer;
  }
  RegCloseKey(key);
  return value;
}

void ExpectDefault(const char* subkey, const std::string& text) {
  SCOPED_TRACE(subkey);
  const Value value = ReadDefault(subkey);
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
  EXPECT_EQ(text, value.text);
  EXPECT_EQ(text.size() + 1, value.size);  // the terminator is stored
}

class Association : public ::testing::Test {
 protected:
  // The Wine prefix is shared by every test: start and leave it without
  // any key this test writes.
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    for (const char* subkey : {kExtension, kProgId, kScratch})
      RegDeleteTreeA(HKEY_CURRENT_USER, subkey);
  }
};

TEST_F(Association, EnableCreatesEveryKeyWithItsValue) {
  SetAssociation(true, "");  // no executable path: nothing to point at
  EXPECT_FALSE(KeyExists(kExtension));
  SetAssociation(true, "C:\\Program Files\\Tovi\\tovi.exe");
  ExpectDefault(kExtension, "Tovi");
  ExpectDefault("Software\\Classes\\Tovi\\DefaultIcon", "C:\\Program Files\\Tovi\\tovi.exe,0");
  ExpectDefault("Software\\Classes\\Tovi\\Shell\\open\\command",
                "\"C:\\Program Files\\Tovi\\tovi.exe\" \"%1\"");
  for (const char* subkey : kAllKeys) EXPECT_TRUE(KeyExists(subkey)) << subkey;
  EXPECT_TRUE(IsAssociated());

  // Run from elsewhere: the same keys now name the new place.
  SetAssociation(true, "D:\\\x95\x5c\\tovi.exe");  // a trail byte 0x5C in the folder name
  ExpectDefault("Software\\Classes\\Tovi\\DefaultIcon", "D:\\\x95\x5c\\tovi.exe,0");
  ExpectDefault("Software\\Classes\\Tovi\\Shell\\open\\command",
                "\"D:\\\x95\x5c\\tovi.exe\" \"%1\"");
  EXPECT_TRUE(IsAssociated());
}

TEST_F(Association, IsAssociatedNeedsExactNameAndProgIdKey) {
  const struct {
    const char* extensionValue;  // null: no ".tvx" key
    bool progIdKey;
    bool associated;
  } cases[] = {
      {nullptr, true, false}, {"Tovi", true, true},   {"tovi", true, false},
      {"TOVI", true, false},  {"Tovi", false, false}, {"Tovi2", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extensionValue ? c.extensionValue : "(no key)");
    Clean();
    if (c.extensionValue) SetDefault(kExtension, c.extensionValue);
    if (c.progIdKey) SetDefault(kProgId, "");
    EXPECT_EQ(c.associated, IsAssociated());
  }
}

TEST_F(Association, DisableRemovesEveryKeyAndRepeatsHarmlessly) {
  SetAssociation(true, "C:\\Tovi\\tovi.exe");
  SetAssociation(false, "C:\\Tovi\\tovi.exe");
  for (const char* subkey : kAllKeys) EXPECT_FALSE(KeyExists(subkey)) << subkey;
  EXPECT_FALSE(IsAssociated());
  SetAssociation(false, "C:\\Tovi\\tovi.exe");
  for (const char* subkey : kAllKeys) EXPECT_FALSE(KeyExists(subkey)) << subkey;
}

TEST_F(Association, DisableLeavesAnotherProgramsExtensionAlone) {
  SetDefault(kExtension, "OtherEditor.tvx");
  SetAssociation(false, "C:\\Tovi\\tovi.exe");
  ExpectDefault(kExtension, "OtherEditor.tvx");
}

TEST_F(Association, DeleteKeyTakesTheOwnPathAndRoot) {
  const std::string child = std::string(kScratch) + "\\child";
  const struct {
    const char* name;
    bool giveRoot;
    bool giveSubkey;
  } cases[] = {
      {"own root and path", false, false},
      {"given root, own path", true, false},
      {"own root, given path", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CRegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, child.c_str(), true, true));
    EXPECT_EQ(HKEY_CURRENT_USER, key.m_hRoot);
    EXPECT_STREQ(child.c_str(), key.m_strPath.GetText());
    EXPECT_TRUE(key.DeleteKey(c.giveRoot ? HKEY_CURRENT_USER : nullptr,
                              c.giveSubkey ? child.c_str() : nullptr));
    EXPECT_FALSE(KeyExists(child.c_str()));
    EXPECT_TRUE(KeyExists(kScratch));  // only the named key goes
    EXPECT_EQ(nullptr, key.m_hKey);
    EXPECT_EQ(nullptr, key.m_hRoot);
  }

  // Nothing open and no name: nothing to delete, least of all the root.
  CRegistryKey closed;
  EXPECT_FALSE(closed.DeleteKey());
  EXPECT_FALSE(closed.DeleteKey(HKEY_CURRENT_USER, nullptr));
  EXPECT_FALSE(closed.DeleteKey(HKEY_CURRENT_USER, ""));
  EXPECT_TRUE(KeyExists(kScratch));
}

}  // namespace
