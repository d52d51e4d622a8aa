#pragma once

#include "hiscores/upload/server.h"

namespace hiscores {

enum class UploadResult : int {
    kSent = 0,
    kSystemError = -1,
    kCannotConnect = -2,
    kTransferError = -3,
};

// Posts body to the server's path, directly or through the user's proxy. Shows its own
// error messages and clears the status before it returns.
UploadResult UploadHiscores(const UploadServer& server, const char* body);

} // namespace hiscores
