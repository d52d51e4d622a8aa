#include "tests/support/fixed_proxy_settings.h"

#include "hiscores/upload/proxy_setting.h"

#include <cstring>

namespace hiscores {

namespace {

char storedServer[kProxyHostSize];
int storedEnable = 0;
bool stored = false;
int reads = 0;

} // namespace

namespace testing {

void SetProxySettings(const char* server, int enable) {
    strncpy(storedServer, server, sizeof storedServer - 1);
    storedEnable = enable;
    stored = true;
    reads = 0;
}

void ClearProxySettings() {
    stored = false;
    reads = 0;
}

int ProxySettingsReads() {
    return reads;
}

} // namespace testing

bool ReadProxySettings(char (&host)[kProxyHostSize], int* port, bool* enabled) {
    ++reads;
    host[0] = '\0';
    *port = 0;
    *enabled = false;
    if (!stored)
        return false;
    *enabled =
        UseProxy(storedServer, static_cast<unsigned long>(storedEnable), host, sizeof host, port);
    return true;
}

} // namespace hiscores
