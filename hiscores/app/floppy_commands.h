#pragma once

#include "hiscores/upload/server.h"

namespace hiscores {

// Writes the local records to the transfer file on the floppy with a copy of the program.
void SaveHiscoresToFloppy();
// Reads the transfer file from the floppy and uploads it as the local records are uploaded.
void SendHiscoresFromFloppy();

// The same over any folder (its path ending in a separator) and upload server.
void SaveHiscoresToFolder(const char* folder);
void SendHiscoresFromFolder(const char* folder, const UploadServer& server);

} // namespace hiscores
