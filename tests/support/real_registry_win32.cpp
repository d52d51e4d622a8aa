#include "tests/support/registry_content.h"
#include "tests/support/key_access_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace stand_in {

namespace {

constexpr char kFullAccess[] = "D:(A;;KA;;;WD)";

// The key at path below parent and every key below it; their owner may change the rights
// of a locked key.
void SetTreeAccess(HKEY parent, const char* path, const char* rights) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path, 0, WRITE_DAC | KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS)
        return;
    EXPECT_TRUE(SetKeyAccess(key, rights));
    char name[256];
    DWORD size = sizeof name;
    for (DWORD index = 0; RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr,
                                        nullptr) == ERROR_SUCCESS;
         ++index, size = sizeof name)
        SetTreeAccess(key, name, rights);
    RegCloseKey(key);
}

} // namespace

void ResetRegistry() {
    SetTreeAccess(HKEY_LOCAL_MACHINE, kProductKey, kFullAccess);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
}

void LetOnlyRead() {
    SetTreeAccess(HKEY_LOCAL_MACHINE, kProductKey, kReadOnly);
}

void SetValue(const std::string& game, const std::string& name, unsigned long type,
              const std::string& data) {
    // The game's key is made below the product key's handle: Wine's ANSI calls refuse a
    // path beyond 260 characters, which a long game name gives and Windows opens.
    HKEY product = nullptr, key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &product, nullptr);
    RegCreateKeyExA(product, game.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    // The ANSI call adds a string's terminator that the size leaves out when one follows in
    // memory; a byte other than NUL there keeps the data as the test wrote it.
    const std::string bytes = data + '\1';
    // A key or value not made would look like one the collection passes over.
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(bytes.data()), data.size()),
              ERROR_SUCCESS);
    RegCloseKey(key);
    RegCloseKey(product);
}

bool ProductKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace stand_in
