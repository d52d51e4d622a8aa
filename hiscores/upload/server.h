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

// Where an upload goes and as whom, and for how long a connected server or proxy may
// keep it waiting without progress before the upload is given up.
struct UploadServer {
    const char* host;
    unsigned short port;
    const char* path;
    const char* userAgent;
    int stallMilliseconds;
};

inline constexpr UploadServer kWebsite = {kServerHost, kServerPort, kUploadPath, kUserAgent, 30000};

} // namespace hiscores
