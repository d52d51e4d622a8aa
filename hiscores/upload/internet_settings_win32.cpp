#include "hiscores/upload/internet_settings.h"

#include <windows.h>

#include <cstring>

namespace hiscores {

namespace {

constexpr char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

} // namespace

bool ReadInternetSettings(char (&server)[kProxyServerSize], unsigned long* enable) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    // One byte stays out of the read, so a value that fills the buffer is still ended.
    memset(server, 0, sizeof server);
    DWORD size = sizeof server - 1;
    DWORD enableValue = 0;
    DWORD enableSize = sizeof enableValue;
    const bool read =
        RegQueryValueExA(key, "ProxyServer", nullptr, nullptr, reinterpret_cast<BYTE*>(server),
                         &size) == ERROR_SUCCESS &&
        RegQueryValueExA(key, "ProxyEnable", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&enableValue), &enableSize) == ERROR_SUCCESS;
    RegCloseKey(key);
    *enable = enableValue;
    return read;
}

} // namespace hiscores
