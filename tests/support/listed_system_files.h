#pragma once

#include "nsistumbra/version64.h"

#include <string>
#include <vector>

// A stand-in for the system directory the file-version table reads: tests list its
// files by name, each with a version or without a version resource.
namespace stand_in {

constexpr const char* kSystemDirectory = "C:\\WINDOWS\\system32";

// Empties the directory and makes it readable as kSystemDirectory.
void ResetSystemFiles();
void MakeSystemDirectoryUnreadable();
void AddSystemFile(const char* name, nsistumbra::FileVersion64 version);
void AddSystemFileWithoutVersion(const char* name);

// The paths ReadFileVersion was asked for, in order.
const std::vector<std::string>& FilesRead();

} // namespace stand_in
