// Proxy settings of any text and host buffers of any size: nothing is written past the
// buffer, the host is terminated, and a plain "host:port" or "host" setting gives its
// host cut to the buffer and its port (80 without one), or nothing when the port is
// not one from 1 to 65535.
#include "hiscores/upload/proxy_setting.h"

#include "fuzz/check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <climits>
#include <cstdint>
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

// A setting with nothing but a host and, after its only colon, a port.
bool IsPlainSetting(const std::string& setting) {
    return !setting.empty() && setting.find_first_of("=/;") == std::string::npos &&
           setting.find(':') == setting.rfind(':') && setting[0] != ':';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int hostSize = input.ConsumeIntegralInRange<int>(-1, hiscores::kProxyHostSize + 8);
    const bool useSecondParser = input.ConsumeBool();
    const auto enableValue = input.ConsumeIntegralInRange<unsigned long>(0, 3);
    const std::string raw = input.ConsumeRemainingBytesAsString();
    const std::string setting(raw.c_str());

    HeapBuffer<char> host(hostSize > 0 ? hostSize : 0);
    int port = -12345;
    const bool parsed =
        useSecondParser ? hiscores::UseProxy(raw.c_str(), enableValue, host.data, hostSize, &port)
                        : hiscores::ParseProxyServer(raw.c_str(), host.data, hostSize, &port);

    if (hostSize <= 0) {
        FUZZ_CHECK(!parsed);
    } else {
        FUZZ_CHECK(std::memchr(host.data, '\0', hostSize) != nullptr);
        const std::string got(host.data);
        if (!parsed && !useSecondParser)
            FUZZ_CHECK(got.empty() && port == 0);
        if (useSecondParser && enableValue != 1)
            FUZZ_CHECK(!parsed);
        if (IsPlainSetting(setting) && (!useSecondParser || enableValue == 1)) {
            const std::size_t colon = setting.find(':');
            int expectedPort = 80;
            const bool usablePort = colon == std::string::npos ||
                                    (ReadDecimal(setting.c_str() + colon + 1, &expectedPort) &&
                                     expectedPort >= 1 && expectedPort <= 65535);
            FUZZ_CHECK(parsed == usablePort);
            if (usablePort) {
                const std::string whole = setting.substr(0, colon);
                FUZZ_CHECK(got == whole.substr(0, static_cast<std::size_t>(hostSize) - 1));
                FUZZ_CHECK(port == expectedPort);
            }
        }
    }
    return 0;
}
