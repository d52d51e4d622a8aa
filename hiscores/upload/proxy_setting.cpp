#include "hiscores/upload/proxy_setting.h"

#include "hiscores/common/text_compare.h"

#include <cstdlib>
#include <cstring>

namespace hiscores {

namespace {

// A proxy named without a port listens where Windows' own HTTP stack expects it.
constexpr int kDefaultProxyPort = 80;

// Ports a proxy can listen on: anything else names no usable proxy, where a cast to 16
// bits would lead to another port.
constexpr long kLowestPort = 1;
constexpr long kHighestPort = 65535;

constexpr char kHttpEntry[] = "http=";

// The proxy for http in a setting: the whole text, or in a per-protocol list such as
// "http=a:80;https=b:443" the value of its http entry. nullptr for a list without one.
const char* HttpProxyOf(const char* setting, const char** end) {
    *end = setting + strlen(setting);
    if (strchr(setting, '=') == nullptr)
        return setting;
    for (const char* entry = setting; entry < *end; ++entry) {
        while (*entry == ' ')
            ++entry;
        const char* entryEnd = strchr(entry, ';');
        if (entryEnd == nullptr)
            entryEnd = *end;
        if (StartsWithIgnoringCase(entry, kHttpEntry)) {
            *end = entryEnd;
            return entry + sizeof kHttpEntry - 1;
        }
        entry = entryEnd;
    }
    return nullptr;
}

const char* LastColon(const char* start, const char* end) {
    for (const char* at = end; at > start; --at) {
        if (at[-1] == ':')
            return at - 1;
    }
    return nullptr;
}

} // namespace

bool ParseProxyServer(const char* setting, char* host, int hostSize, int* port) {
    if (hostSize <= 0)
        return false;
    host[0] = '\0';
    *port = 0;
    const char* end = nullptr;
    const char* start = HttpProxyOf(setting, &end);
    if (start == nullptr)
        return false;
    const char* colon = LastColon(start, end);
    const char* slashes = strstr(start, "//");
    // A scheme ("http://") goes; so does anything else before "//" that comes before the port.
    if (slashes != nullptr && slashes < end &&
        (colon == nullptr || slashes < colon || slashes == colon + 1))
        start = slashes + 2;
    const char* hostEnd = end;
    long portNumber = kDefaultProxyPort;
    if (colon != nullptr && colon >= start) {
        // The leading decimal digits, as atoi reads them.
        portNumber = strtol(colon + 1, nullptr, 10);
        hostEnd = colon;
    } else {
        const char* slash = strchr(start, '/');
        if (slash != nullptr && slash < end)
            hostEnd = slash;
    }
    if (hostEnd == start || portNumber < kLowestPort || portNumber > kHighestPort)
        return false;
    *port = static_cast<int>(portNumber);
    size_t length = static_cast<size_t>(hostEnd - start);
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
