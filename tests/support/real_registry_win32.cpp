#include "tests/support/registry_content.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace stand_in {

namespace {

// The key's own name goes to its parent: Wine's ANSI calls refuse a path beyond 260
// characters, which a game key of a long name has and which Windows opens.
HKEY CreateKey(const std::string& path) {
    const size_t split = path.rfind('\\');
    HKEY parent = nullptr;
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.substr(0, split).c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &parent, nullptr);
    RegCreateKeyExA(parent, path.c_str() + split + 1, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegCloseKey(parent);
    return key;
}

} // namespace

void ResetRegistry() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Tumbra");
}

void SetValue(const std::string& keyPath, const std::string& name, unsigned long type,
              const std::string& data) {
    // Windows adds a string's terminator that the size leaves out when one follows in
    // memory; a byte other than NUL there keeps the data as the test wrote it.
    const std::string bytes = data + '\1';
    HKEY key = CreateKey(keyPath);
    // A key or value not made would look like one the collection passes over.
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace stand_in
