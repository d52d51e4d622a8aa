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

// One command's uploads to a server. The route of the last accepted request is the
// run's: its later requests try it first. When it cannot connect, a request tries the
// other way once, directly or through the proxy the user's settings name at that moment.
// Each command starts a run of its own.
struct UploadRun {
    const UploadServer& server;
    // No route yet while its port is 0.
    UploadRoute route = {};
    // Only the command knows which records a request held, so a failure after an
    // accepted request is the command's to tell.
    int acceptedRequests = 0;
};

// Posts body to the run's server, directly or through the user's proxy. Shows its own
// error message unless an earlier request of the run was accepted, and clears the status
// before it returns.
UploadResult UploadHiscores(UploadRun& run, const char* body);

// The message that tells the player of a failed upload.
const char* UploadFailureMessage(UploadResult result);

} // namespace hiscores
