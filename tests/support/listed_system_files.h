#pragma once

#include <string>
#include <vector>

// A stand-in for the system directory the file-version table reads: tests list its
// files by name, each with a version or without a version resource.
namespace stand_in {

constexpr const char* kSystemDirectory = "C:\\WINDOWS\\system32";

// Lists these files in the directory kSystemDirectory, each "name a.b.c.d", or a bare name
// for a file without a version resource.
void SetSystemFiles(const std::vector<std::string>& files, bool directoryReadable = true);

// The paths ReadFileVersion was asked for, in order.
const std::vector<std::string>& FilesRead();

} // namespace stand_in
