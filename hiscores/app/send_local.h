#pragma once

#include "hiscores/common/exit_codes.h"
#include "hiscores/upload/server.h"

namespace hiscores {

// Collects the local records and uploads them to the website.
ExitCode SendLocalHiscores();

// The same to any server. Records too many for one request go in consecutive requests,
// each an upload of its own; the first that fails ends the command.
ExitCode SendLocalHiscoresTo(const UploadServer& server);

// Tells the player that nothing can be sent: no hiscores found, or only ones too long to
// send, tooLong of them.
void ShowNoHiscoresToSend(int tooLong);

} // namespace hiscores
