// Proxy settings of any text and host buffers of any size: the host is cut to the
// buffer, the port read after the last colon, and nothing is written past the buffer.
#include "hiscores/upload/proxy_setting.h"

#include "fuzz/check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The decimal number at text as atoi reads it, or false when it does not fit an int
// (atoi leaves that undefined).
bool ReadDecimal(const char* text, int* value) {
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX)
        return false;
    *value = static_cast<int>(signedValue);
    return true;
}

// The host the setting names, before it is cut to any buffer.
std::string ExpectedHost(const std::string& setting) {
    const std::size_t colon = setting.rfind(':');
    const std::string beforeColon = setting.substr(0, colon);
    const std::size_t slashes = beforeColon.find("//");
    return slashes == std::string::npos ? beforeColon : beforeColon.substr(slashes + 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int hostSize = input.ConsumeIntegralInRange<int>(-1, hiscores::kProxyHostSize + 8);
    const bool useSecondParser = input.ConsumeBool();
    const auto enableValue = input.ConsumeIntegralInRange<unsigned long>(0, 3);
    const std::string raw = input.ConsumeRemainingBytesAsString();
    const std::string setting(raw.c_str());
    const bool hasColon = setting.find(':') != std::string::npos;

    // Exactly hostSize bytes, so a write past them is caught.
    char* host = static_cast<char*>(std::malloc(hostSize > 0 ? hostSize : 0));
    int port = -12345;
    const bool parsed = useSecondParser
                            ? hiscores::UseProxy(raw.c_str(), enableValue, host, hostSize, &port)
                            : hiscores::ParseProxyServer(raw.c_str(), host, hostSize, &port);

    if (hostSize <= 0) {
        FUZZ_CHECK(!parsed);
    } else {
        const bool expected = hasColon && (!useSecondParser || enableValue == 1);
        FUZZ_CHECK(parsed == expected);
        FUZZ_CHECK(std::memchr(host, '\0', hostSize) != nullptr);
        const std::string got(host);
        if (hasColon) {
            const std::string whole = ExpectedHost(setting);
            FUZZ_CHECK(got == whole.substr(0, static_cast<std::size_t>(hostSize) - 1));
            int expectedPort;
            if (ReadDecimal(setting.c_str() + setting.rfind(':') + 1, &expectedPort))
                FUZZ_CHECK(port == expectedPort);
        } else {
            FUZZ_CHECK(got.empty());
            FUZZ_CHECK(port == 0);
        }
    }
    std::free(host);
    return 0;
}
