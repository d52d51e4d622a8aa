#pragma once

#include "hiscores/upload/server.h"

namespace hiscores {

// Collects the local records and uploads them to the website; returns an ExitCode.
int SendLocalHiscores();

// The same to any server. Records too many for one request go in consecutive requests,
// each an upload of its own; the first that fails ends the command.
int SendLocalHiscoresTo(const UploadServer& server);

} // namespace hiscores
