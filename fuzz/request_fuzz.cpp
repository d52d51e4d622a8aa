// Replies of any bytes and requests of any body, host and buffer size: the reply check
// reads only what it is given, and the request is exactly the documented text or
// refused, never written past its buffer.
#include "hiscores/upload/request.h"

#include "fuzz/check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

bool ReadsAccepted(const std::string& reply) {
    // '?' stands for the minor version digit, which is not looked at.
    static const char kPattern[] = "HTTP/1.? 200";
    if (reply.size() < static_cast<std::size_t>(hiscores::kStatusLineCheckLength))
        return false;
    for (std::size_t index = 0; kPattern[index] != '\0'; ++index)
        if (kPattern[index] != '?' && reply[index] != kPattern[index])
            return false;
    return true;
}

void CheckReply(FuzzedDataProvider& input) {
    const std::string reply = input.ConsumeRandomLengthString(64);
    // Exactly the received bytes, without a terminator, as they come from recv.
    HeapBuffer<char> received(reply.size());
    std::memcpy(received.data, reply.data(), reply.size());
    FUZZ_CHECK(hiscores::IsAcceptedReply(received.data, static_cast<int>(reply.size())) ==
               ReadsAccepted(reply));
}

void CheckRequest(FuzzedDataProvider& input) {
    const int size = input.ConsumeIntegralInRange<int>(-1, 12000);
    const bool viaProxy = input.ConsumeBool();
    const std::string host = input.ConsumeRandomLengthString(300).c_str();
    const std::string path = input.ConsumeRandomLengthString(100).c_str();
    const std::string userAgent = input.ConsumeRandomLengthString(100).c_str();
    const std::string body = input.ConsumeRemainingBytesAsString().c_str();

    const std::string expected = "POST " + (viaProxy ? "http://" + host : std::string()) + path +
                                 " HTTP/1.0\r\nHost: " + host + "\r\nUser-Agent: " + userAgent +
                                 "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
                                 body;

    HeapBuffer<char> buffer(size > 0 ? size : 0);
    const hiscores::UploadServer server = {
        host.c_str(), 80, path.c_str(), userAgent.c_str(), 0, 0, 0};
    const int length =
        hiscores::FormatUploadRequest(server, viaProxy, body.c_str(), buffer.data, size);
    if (size > 0 && expected.size() < static_cast<std::size_t>(size)) {
        FUZZ_CHECK(length == static_cast<int>(expected.size()));
        FUZZ_CHECK(std::memcmp(buffer.data, expected.c_str(), expected.size() + 1) == 0);
    } else {
        FUZZ_CHECK(length == -1);
        if (size > 0)
            FUZZ_CHECK(buffer.data[0] == '\0');
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        CheckReply(input);
    else
        CheckRequest(input);
    return 0;
}
