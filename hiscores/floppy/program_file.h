#pragma once

#include "hiscores/common/sizes.h"

// The running program's own file, as the save command needs it to copy itself.
namespace hiscores {

// The full path of the running program and where its file-name part starts in it;
// false when either cannot be had within kPathSize bytes.
bool LocateProgramFile(char (&fullPath)[kPathSize], int& fileNameOffset);

// Copies source to target, replacing a file of that name; false on failure.
bool CopyFileReplacing(const char* source, const char* target);

} // namespace hiscores
