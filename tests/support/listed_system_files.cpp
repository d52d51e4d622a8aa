#include "tests/support/listed_system_files.h"

#include "nsistumbra/bounded_string.h"
#include "nsistumbra/file_version_table.h"
#include "nsistumbra/system_files.h"

#include <cstring>

using nsistumbra::FileVersion64;

namespace {

struct ListedFile {
    char name[32];
    bool hasVersion;
    FileVersion64 version;
};

constexpr std::size_t kMaxFiles = 16;
constexpr std::size_t kMaxReads = 32;

ListedFile files[kMaxFiles];
std::size_t fileCount = 0;
bool directoryReadable = true;
char readPaths[kMaxReads][nsistumbra::kFilePathCapacity];
std::size_t readCount = 0;

void Add(const char* name, bool hasVersion, FileVersion64 version) {
    ListedFile& file = files[fileCount++];
    nsistumbra::CopyBounded(file.name, sizeof file.name, name);
    file.hasVersion = hasVersion;
    file.version = version;
}

} // namespace

namespace stand_in {

void ResetSystemFiles() {
    fileCount = 0;
    readCount = 0;
    directoryReadable = true;
}

void MakeSystemDirectoryUnreadable() {
    directoryReadable = false;
}
void AddSystemFile(const char* name, FileVersion64 version) {
    Add(name, true, version);
}
void AddSystemFileWithoutVersion(const char* name) {
    Add(name, false, 0);
}
std::size_t FileReadCount() {
    return readCount;
}
const char* FileReadPath(std::size_t index) {
    return readPaths[index];
}

} // namespace stand_in

namespace nsistumbra {

bool ReadSystemDirectory(char* directory, std::size_t capacity) {
    return directoryReadable &&
           CopyBounded(directory, capacity, stand_in::kSystemDirectory) == Status::kOk;
}

Status ReadFileVersion(const char* path, FileVersion64* version) {
    if (path == nullptr || version == nullptr)
        return Status::kInvalidArgument;
    if (readCount < kMaxReads)
        CopyBounded(readPaths[readCount++], sizeof readPaths[0], path);
    const std::size_t directoryLength = std::strlen(stand_in::kSystemDirectory);
    if (std::strncmp(path, stand_in::kSystemDirectory, directoryLength) != 0 ||
        path[directoryLength] != '\\')
        return Status::kFail;
    for (std::size_t index = 0; index < fileCount; ++index) {
        if (std::strcmp(files[index].name, path + directoryLength + 1) == 0) {
            if (!files[index].hasVersion)
                return Status::kFail;
            *version = files[index].version;
            return Status::kOk;
        }
    }
    return Status::kFail;
}

} // namespace nsistumbra
