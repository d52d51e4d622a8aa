#include "tests/support/fixed_internet_settings.h"

#include "hiscores/upload/internet_settings.h"

#include <cstring>

namespace {

char storedServer[hiscores::kProxyServerSize];
unsigned long storedEnable = 0;
bool stored = false;
int reads = 0;

} // namespace

namespace stand_in {

void SetInternetSettings(const char* proxyServer, unsigned long proxyEnable) {
    strncpy(storedServer, proxyServer, sizeof storedServer - 1);
    storedEnable = proxyEnable;
    stored = true;
    reads = 0;
}

void ClearInternetSettings() {
    stored = false;
    reads = 0;
}

int InternetSettingsReads() {
    return reads;
}

} // namespace stand_in

namespace hiscores {

bool ReadInternetSettings(char (&server)[kProxyServerSize], unsigned long* enable) {
    ++reads;
    memcpy(server, storedServer, sizeof server);
    *enable = storedEnable;
    return stored;
}

} // namespace hiscores
