#pragma once

#include "hiscores/upload/server.h"

namespace hiscores {

enum class UploadResult : int {
    kSent = 0,
    kSystemError = -1,
    kCannotConnect = -2,
    kTransferError = -3,
};

// A way to the server: the address (in network byte order) and port connected to, and
// whether they are the user's proxy's.
struct UploadRoute {
    unsigned int address;
    unsigned short port;
    bool viaProxy;
};

// One command's uploads to a server. The route of the first request that connects is
// the run's: its later requests take it without trying another first or looking up a
// name again. Each command starts a run of its own.
struct UploadRun {
    const UploadServer& server;
    // No route yet while its port is 0.
    UploadRoute route = {};
};

// Posts body to the run's server, directly or through the user's proxy. Shows its own
// error messages and clears the status before it returns.
UploadResult UploadHiscores(UploadRun& run, const char* body);

} // namespace hiscores
