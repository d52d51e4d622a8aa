#include "hiscores/upload/proxy_setting.h"

#include <windows.h>

namespace hiscores {

namespace {

constexpr char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

} // namespace

bool ReadProxySettings(char (&host)[kProxyHostSize], int* port, bool* enabled) {
    host[0] = '\0';
    *port = 0;
    *enabled = false;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kInternetSettingsKey, 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return false;
    // One byte stays out of the read, so a value that fills the buffer is still ended.
    char server[kProxyHostSize] = {};
    DWORD size = sizeof server - 1;
    DWORD enableValue = 0;
    DWORD enableSize = sizeof enableValue;
    const bool read =
        RegQueryValueExA(key, "ProxyServer", nullptr, nullptr, reinterpret_cast<BYTE*>(server),
                         &size) == ERROR_SUCCESS &&
        RegQueryValueExA(key, "ProxyEnable", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(&enableValue), &enableSize) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!read)
        return false;
    *enabled = UseProxy(server, enableValue, host, sizeof host, port);
    return true;
}

} // namespace hiscores
