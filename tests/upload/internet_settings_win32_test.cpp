#include "hiscores/upload/internet_settings.h"
#include "tests/support/key_access_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace hiscores {
namespace {

constexpr char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

TEST(InternetSettings, AreReadRawFromTheCurrentUsersKey) {
    struct Case {
        std::string server; // as stored, terminator included when the writer wrote one
        DWORD serverType;
        bool read;
        std::string text;          // what the program reads
        bool onlyReadable = false; // the key, as a limited account may find it
    };
    const std::string longest(kProxyServerSize - 1, 'h');
    const Case cases[] = {
        {std::string("http://proxy.lan:3128\0", 22), REG_SZ, true, "http://proxy.lan:3128"},
        {"proxy.lan:8080", REG_SZ, true, "proxy.lan:8080", true},
        {"proxy.lan:3128", REG_BINARY, true, "proxy.lan:3128"},
        // The longest value without a terminator still comes back ended.
        {longest, REG_BINARY, true, longest},
        {longest + "h", REG_BINARY, false, ""},
        {std::string(2000, 'h') + '\0', REG_SZ, false, ""},
    };
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettingsKey, 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    char access[4096]; // the key's own, given back after each read
    DWORD accessSize = sizeof access;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, access, &accessSize);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server.size());
        const DWORD stored = 7;
        RegSetValueExA(key, "ProxyServer", 0, c.serverType,
                       reinterpret_cast<const BYTE*>(c.server.data()),
                       static_cast<DWORD>(c.server.size()));
        RegSetValueExA(key, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored),
                       sizeof stored);
        if (c.onlyReadable) {
            EXPECT_TRUE(stand_in::SetKeyAccess(key, stand_in::kReadOnly));
        }
        char server[kProxyServerSize];
        memset(server, 'x', sizeof server);
        unsigned long enable = 0;
        EXPECT_EQ(ReadInternetSettings(server, &enable), c.read);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, access);
        if (c.read) {
            EXPECT_EQ(std::string(server), c.text);
            EXPECT_EQ(enable, stored);
        }
    }
    RegDeleteValueA(key, "ProxyEnable");
    unsigned long enable = 0;
    char server[kProxyServerSize];
    EXPECT_FALSE(ReadInternetSettings(server, &enable));
    RegDeleteValueA(key, "ProxyServer");
    RegCloseKey(key);
}

} // namespace
} // namespace hiscores
