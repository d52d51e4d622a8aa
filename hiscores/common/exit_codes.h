#pragma once

namespace hiscores {

// Exit codes of a silent run.
enum ExitCode : int {
    kExitSent = 0,
    kExitNoHiscores = 1,
    kExitNoConnection = 2,
    kExitTransferError = 3,
};

} // namespace hiscores
