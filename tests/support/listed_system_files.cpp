#include "tests/support/listed_system_files.h"

#include "nsistumbra/bounded_string.h"
#include "nsistumbra/system_files.h"
#include "nsistumbra/version64.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

using nsistumbra::FileVersion64;
using nsistumbra::MakeVersion64;
using nsistumbra::Status;

namespace {

// By path; no version when the file has no version resource.
std::map<std::string, std::optional<FileVersion64>> files;
bool directoryReadable = true;
std::vector<std::string> reads;

std::string SystemPath(const char* name) {
    return std::string(stand_in::kSystemDirectory) + "\\" + name;
}

} // namespace

namespace stand_in {

void SetSystemFiles(const std::vector<std::string>& listed, bool readable) {
    files.clear();
    reads.clear();
    directoryReadable = readable;
    for (const std::string& file : listed) {
        char name[16];
        unsigned a, b, c, d;
        const int read = std::sscanf(file.c_str(), "%15s %u.%u.%u.%u", name, &a, &b, &c, &d);
        if (read != 1 && read != 5)
            std::abort(); // a mistyped test
        files[SystemPath(name)] =
            read == 5 ? std::optional(MakeVersion64(a, b, c, d)) : std::nullopt;
    }
}

const std::vector<std::string>& FilesRead() {
    return reads;
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
    reads.push_back(path);
    const auto file = files.find(path);
    if (file == files.end() || !file->second)
        return Status::kFail;
    *version = *file->second;
    return Status::kOk;
}

} // namespace nsistumbra
