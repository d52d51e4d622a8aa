#pragma once

#include "hiscores/common/sizes.h"

#ifndef HISCORES_SERVER_HOST
#error "HISCORES_SERVER_HOST must name the upload server's host"
#endif

namespace hiscores {

inline constexpr char kServerHost[] = HISCORES_SERVER_HOST;
inline constexpr unsigned short kServerPort = 80;
inline constexpr char kUploadPath[] = "/rekordy/dopisz.php";
inline constexpr char kUserAgent[] = "SalonTumbraRekordy";
inline constexpr char kHiscorePageUrl[] = "http://" HISCORES_SERVER_HOST "/en/hiscores.php";

// Room for the largest body the program produces (a full hiscore text) and the longest
// request line and headers it writes, which is the proxy form.
inline constexpr int kLongestRequestHead =
    sizeof("POST http://") - 1 + sizeof(kServerHost) - 1 + sizeof(kUploadPath) - 1 +
    sizeof(" HTTP/1.0\r\nHost: ") - 1 + sizeof(kServerHost) - 1 + sizeof("\r\nUser-Agent: ") - 1 +
    sizeof(kUserAgent) - 1 + sizeof("\r\nContent-Length: ") - 1 + sizeof("-2147483648") - 1 +
    sizeof("\r\n\r\n") - 1;
inline constexpr int kRequestBufferSize = kLongestRequestHead + kHiscoreTextSize;

// Where an upload goes, and for how long a connected server or proxy may keep it waiting
// without progress before the upload is given up.
struct UploadServer {
    const char* host;
    unsigned short port;
    int stallMilliseconds;
};

inline constexpr UploadServer kWebsite = {kServerHost, kServerPort, 30000};

} // namespace hiscores
