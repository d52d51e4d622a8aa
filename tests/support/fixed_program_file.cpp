#include "tests/support/fixed_program_file.h"

#include "hiscores/floppy/program_file.h"

#include <cstring>
#include <filesystem>

namespace {

char programPath[hiscores::kPathSize];

} // namespace

namespace stand_in {

void SetProgramPath(const char* path) {
    strncpy(programPath, path, sizeof programPath - 1);
}

} // namespace stand_in

namespace hiscores {

bool LocateProgramFile(char (&fullPath)[kPathSize], int& fileNameOffset) {
    memcpy(fullPath, programPath, sizeof fullPath);
    fileNameOffset = static_cast<int>(strrchr(fullPath, '/') + 1 - fullPath);
    return true;
}

bool CopyFileReplacing(const char* source, const char* target) {
    std::error_code error;
    return std::filesystem::copy_file(source, target,
                                      std::filesystem::copy_options::overwrite_existing, error);
}

} // namespace hiscores
