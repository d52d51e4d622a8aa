#include "tests/support/fixed_program_file.h"

#include "hiscores/floppy/program_file.h"

#include <cstdio>
#include <cstring>

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
    FILE* from = fopen(source, "rb");
    FILE* to = from != nullptr ? fopen(target, "wb") : nullptr;
    bool copied = to != nullptr;
    char buffer[4096];
    size_t count;
    while (copied && (count = fread(buffer, 1, sizeof buffer, from)) > 0)
        copied = fwrite(buffer, 1, count, to) == count;
    if (to != nullptr)
        copied = fclose(to) == 0 && copied;
    if (from != nullptr)
        fclose(from);
    return copied;
}

} // namespace hiscores
