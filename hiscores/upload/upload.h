#pragma once

#include "hiscores/upload/server.h"

namespace hiscores {

enum UploadResult : int {
    kUploadSent = 0,
    kUploadSystemError = -1,
    kUploadCannotConnect = -2,
    kUploadTransferError = -3,
};

// Posts body to path on the website, directly or through the user's proxy. request is
// the caller's buffer for the request and the reply's status line. Shows its own error
// messages and clears the status before it returns.
int UploadHiscores(const char* path, const char* userAgent, const char* body, char* request,
                   int requestSize);

// The same to any server.
int UploadHiscoresTo(const UploadServer& server, const char* path, const char* userAgent,
                     const char* body, char* request, int requestSize);

} // namespace hiscores
