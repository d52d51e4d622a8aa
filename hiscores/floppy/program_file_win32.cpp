#include "hiscores/floppy/program_file.h"

#include <windows.h>

namespace hiscores {

bool LocateProgramFile(char (&fullPath)[kPathSize], int& fileNameOffset) {
    char modulePath[kPathSize];
    const DWORD moduleLength = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    if (moduleLength == 0 || moduleLength >= sizeof modulePath)
        return false;
    char* fileName = nullptr;
    const DWORD fullLength = GetFullPathNameA(modulePath, sizeof fullPath, fullPath, &fileName);
    if (fullLength == 0 || fullLength >= sizeof fullPath || fileName == nullptr)
        return false;
    fileNameOffset = static_cast<int>(fileName - fullPath);
    return true;
}

bool CopyFileReplacing(const char* source, const char* target) {
    return CopyFileA(source, target, FALSE) != 0;
}

} // namespace hiscores
