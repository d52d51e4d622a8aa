#pragma once

#ifndef HISCORES_SERVER_HOST
#error "HISCORES_SERVER_HOST must name the upload server's host"
#endif

namespace hiscores {

inline constexpr char kServerHost[] = HISCORES_SERVER_HOST;
inline constexpr unsigned short kServerPort = 80;
inline constexpr char kUploadPath[] = "/rekordy/dopisz.php";
inline constexpr char kUserAgent[] = "SalonTumbraRekordy";
inline constexpr char kHiscorePageUrl[] = "http://" HISCORES_SERVER_HOST "/en/hiscores.php";

// Where an upload goes and as whom, and how long it may wait: for progress once
// connected, for each connection attempt, and for one request from its first connection
// attempt to the decided reply.
struct UploadServer {
    const char* host;
    unsigned short port;
    const char* path;
    const char* userAgent;
    int stallMilliseconds;
    int connectMilliseconds;
    int requestMilliseconds;
};

inline constexpr UploadServer kWebsite = {
    .host = kServerHost,
    .port = kServerPort,
    .path = kUploadPath,
    .userAgent = kUserAgent,
    .stallMilliseconds = 30000,
    .connectMilliseconds = 20000,
    .requestMilliseconds = 60000,
};

} // namespace hiscores
