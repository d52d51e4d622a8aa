#pragma once

namespace hiscores {

// Collects the local records and uploads them; returns an ExitCode.
int SendLocalHiscores();

} // namespace hiscores
