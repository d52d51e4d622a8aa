#pragma once

namespace hiscores {

// Exit codes of a silent run.
enum ExitCode : int {
    kExitSent = 0,
    kExitNoHiscores = 1,
    kExitNoConnection = 2,
    kExitTransferError = 3,
};

inline constexpr char kNoHiscoresMessage[] = "Couldn't find your hiscores!\n";

// Collects the local records and uploads them; returns an ExitCode.
int SendLocalHiscores();

} // namespace hiscores
