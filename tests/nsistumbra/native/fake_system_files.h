#pragma once

#include "nsistumbra/version64.h"

#include <cstddef>

// An in-memory system directory for the file-version table: files are named without
// the directory, and a file may exist without a version resource.
namespace nsistumbra::fake {

constexpr const char* kSystemDirectory = "C:\\WINDOWS\\system32";

// Empties the directory and makes it readable as kSystemDirectory.
void ResetSystemFiles();
void MakeSystemDirectoryUnreadable();
void AddFile(const char* name, FileVersion64 version);
void AddFileWithoutVersion(const char* name);

// The paths ReadFileVersion was asked for, in order.
std::size_t FileReadCount();
const char* FileReadPath(std::size_t index);

} // namespace nsistumbra::fake
