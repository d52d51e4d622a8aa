#pragma once

namespace hiscores {

// The reply's first bytes that decide whether the server accepted the upload.
inline constexpr int kStatusLineCheckLength = 14;

// Writes the POST request for body into buffer, NUL-terminated. Through a proxy the
// request line carries the absolute URL. Returns the request's length, or -1 when it
// would not fit in size bytes.
int FormatUploadRequest(char* buffer, int size, bool viaProxy, const char* host, const char* path,
                        const char* userAgent, const char* body);

// True when the reply's first kStatusLineCheckLength bytes read "HTTP/1.x 200".
bool IsAcceptedReply(const char* reply, int length);

} // namespace hiscores
