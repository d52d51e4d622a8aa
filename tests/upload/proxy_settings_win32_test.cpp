#include "hiscores/upload/proxy_setting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace hiscores {
namespace {

constexpr char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

struct StoredSettings {
    const char* behaviour;
    std::string server;
    DWORD serverType;
    DWORD enable;
    bool read;
    bool enabled;
    std::string host;
    int port;
};

class ProxySettingsTest : public ::testing::TestWithParam<StoredSettings> {
  protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettingsKey, 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegDeleteValueA(key_, "ProxyServer");
        RegDeleteValueA(key_, "ProxyEnable");
        RegCloseKey(key_);
    }
    HKEY key_ = nullptr;
};

TEST_P(ProxySettingsTest, AreReadFromTheCurrentUsersInternetSettings) {
    const StoredSettings& stored = GetParam();
    RegSetValueExA(key_, "ProxyServer", 0, stored.serverType,
                   reinterpret_cast<const BYTE*>(stored.server.data()),
                   static_cast<DWORD>(stored.server.size()));
    RegSetValueExA(key_, "ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored.enable),
                   sizeof stored.enable);
    char host[kProxyHostSize];
    memset(host, 'x', sizeof host);
    int port = -1;
    bool enabled = true;
    EXPECT_EQ(ReadProxySettings(host, &port, &enabled), stored.read);
    EXPECT_EQ(enabled, stored.enabled);
    EXPECT_EQ(std::string(host), stored.host);
    EXPECT_EQ(port, stored.port);
}

std::string Z(const std::string& text) {
    return text + '\0';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxySettingsTest,
    ::testing::Values(
        StoredSettings{"SchemeHostPort", Z("http://proxy.lan:3128"), REG_SZ, 1, true, true,
                       "proxy.lan", 3128},
        StoredSettings{"Disabled", Z("proxy.lan:3128"), REG_SZ, 0, true, false, "proxy.lan", 3128},
        StoredSettings{"EnabledWithTwoIsNotEnabled", Z("proxy.lan:3128"), REG_SZ, 2, true, false,
                       "proxy.lan", 3128},
        StoredSettings{"WithoutColonIsNoProxy", Z("proxy.lan"), REG_SZ, 1, true, false, "", 0},
        StoredSettings{"ValueFillingTheBufferWithoutTerminatorIsNotRead",
                       std::string(kProxyHostSize - 2, 'h') + ":1", REG_BINARY, 1, false, false, "",
                       0},
        StoredSettings{"LongestValueWithoutTerminatorIsEnded",
                       std::string(kProxyHostSize - 6, 'h') + ":8080", REG_BINARY, 1, true, true,
                       std::string(kProxyHostSize - 6, 'h'), 8080},
        StoredSettings{"ValueTooLongIsNotRead", Z(std::string(2000, 'h') + ":1"), REG_SZ, 1, false,
                       false, "", 0}),
    [](const ::testing::TestParamInfo<StoredSettings>& info) { return info.param.behaviour; });

TEST(ProxySettingsMissing, WithoutValuesNothingIsEnabled) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kInternetSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    RegDeleteValueA(key, "ProxyServer");
    RegCloseKey(key);
    char host[kProxyHostSize];
    int port = -1;
    bool enabled = true;
    EXPECT_FALSE(ReadProxySettings(host, &port, &enabled));
    EXPECT_FALSE(enabled);
}

} // namespace
} // namespace hiscores
