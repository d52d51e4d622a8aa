#pragma once

namespace hiscores {

// Exit codes of a silent run.
enum class ExitCode : int { kSent = 0, kNoHiscores = 1, kNoConnection = 2, kTransferError = 3 };

} // namespace hiscores
