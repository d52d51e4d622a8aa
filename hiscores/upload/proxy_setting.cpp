#include "hiscores/upload/proxy_setting.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace hiscores {

namespace {

// The leading decimal digits, as atoi reads them, but without its undefined behaviour
// for a number too large for an int: such a number saturates.
int ReadPort(const char* text) {
    const long value = strtol(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

bool ParseProxyServer(const char* setting, char* host, int hostSize, int* port) {
    if (hostSize <= 0)
        return false;
    host[0] = '\0';
    *port = 0;
    const char* colon = strrchr(setting, ':');
    if (colon == nullptr)
        return false;
    *port = ReadPort(colon + 1);
    const char* start = setting;
    const char* slashes = strstr(setting, "//");
    if (slashes != nullptr && slashes < colon)
        start = slashes + 2;
    size_t length = static_cast<size_t>(colon - start);
    if (length >= static_cast<size_t>(hostSize))
        length = static_cast<size_t>(hostSize) - 1;
    memcpy(host, start, length);
    host[length] = '\0';
    return true;
}

bool UseProxy(const char* server, unsigned long enableValue, char* host, int hostSize, int* port) {
    return ParseProxyServer(server, host, hostSize, port) && enableValue == 1;
}

} // namespace hiscores
