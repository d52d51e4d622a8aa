#include "hiscores/upload/request.h"

#include "formatting/format_text.h"

#include <cstdio>
#include <cstring>

namespace hiscores {

int FormatUploadRequest(char* buffer, int size, bool viaProxy, const char* host, const char* path,
                        const char* userAgent, const char* body) {
    if (size <= 0)
        return -1;
    const int length = formatting::FormatText(
        buffer, size,
        "POST %s%s%s HTTP/1.0\r\nHost: %s\r\nUser-Agent: %s\r\nContent-Length: %d\r\n\r\n%s",
        viaProxy ? "http://" : "", viaProxy ? host : "", path, host, userAgent,
        static_cast<int>(strlen(body)), body);
    if (length < 0 || length >= size) {
        buffer[0] = '\0';
        return -1;
    }
    return length;
}

bool IsAcceptedReply(const char* reply, int length) {
    return length >= kStatusLineCheckLength && memcmp(reply, "HTTP/1.", 7) == 0 &&
           memcmp(reply + 8, " 200", 4) == 0;
}

} // namespace hiscores
