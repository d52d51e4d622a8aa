#include "hiscores/upload/request.h"

#include "formatting/format_text.h"

#include <cstring>

namespace hiscores {

int FormatUploadRequest(const UploadServer& server, bool viaProxy, const char* body, char* buffer,
                        int size) {
    if (size <= 0)
        return -1;
    const int bodyLength = static_cast<int>(strlen(body));
    char contentLength[sizeof kWidestContentLength];
    formatting::FormatText(contentLength, sizeof contentLength, "%d", bodyLength);
    const int headLength = PutRequestHead(server, viaProxy, contentLength, nullptr);
    if (headLength >= size - bodyLength) {
        buffer[0] = '\0';
        return -1;
    }
    PutRequestHead(server, viaProxy, contentLength, buffer);
    memcpy(buffer + headLength, body, static_cast<size_t>(bodyLength) + 1);
    return headLength + bodyLength;
}

bool IsAcceptedReply(const char* reply, int length) {
    return length >= kStatusLineCheckLength && memcmp(reply, "HTTP/1.", 7) == 0 &&
           memcmp(reply + 8, " 200", 4) == 0;
}

} // namespace hiscores
