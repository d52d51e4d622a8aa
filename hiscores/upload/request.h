#pragma once

#include "hiscores/common/sizes.h"
#include "hiscores/upload/server.h"

namespace hiscores {

// The reply's first bytes that decide whether the server accepted the upload.
inline constexpr int kStatusLineCheckLength = 14;

// Writes the request's head to out, or with out null only measures it: the one
// description of the layout, from which the buffer's size follows too. The body comes
// after the head. Through a proxy the request line carries the absolute URL.
constexpr int PutRequestHead(const UploadServer& server, bool viaProxy, const char* contentLength,
                             char* out) {
    const char* const pieces[] = {"POST ",
                                  viaProxy ? "http://" : "",
                                  viaProxy ? server.host : "",
                                  server.path,
                                  " HTTP/1.0\r\nHost: ",
                                  server.host,
                                  "\r\nUser-Agent: ",
                                  server.userAgent,
                                  "\r\nContent-Length: ",
                                  contentLength,
                                  "\r\n\r\n"};
    int length = 0;
    for (const char* piece : pieces)
        for (; *piece != '\0'; ++piece, ++length)
            if (out != nullptr)
                out[length] = *piece;
    return length;
}

// Room for the longest request the program sends: to the website through a proxy, with
// the widest length and the largest text.
inline constexpr char kWidestContentLength[] = "-2147483648";
inline constexpr int kRequestBufferSize =
    PutRequestHead(kWebsite, true, kWidestContentLength, nullptr) + kHiscoreTextSize;

// Writes the POST request for body to the server into buffer, NUL-terminated. Returns the
// request's length, or -1 when it would not fit in size bytes.
int FormatUploadRequest(const UploadServer& server, bool viaProxy, const char* body, char* buffer,
                        int size);

// True when the reply's first kStatusLineCheckLength bytes read "HTTP/1.x 200".
bool IsAcceptedReply(const char* reply, int length);

} // namespace hiscores
