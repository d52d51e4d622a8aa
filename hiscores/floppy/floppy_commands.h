#pragma once

namespace hiscores {

// Writes the local records to the transfer file on drive A: with a copy of the program.
void SaveHiscoresToFloppy();
// Reads the transfer file from drive A: and uploads it as the local records are uploaded.
void SendHiscoresFromFloppy();

} // namespace hiscores
