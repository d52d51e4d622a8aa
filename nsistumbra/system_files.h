#pragma once

#include "nsistumbra/status.h"
#include "nsistumbra/version64.h"

#include <cstddef>

// What the file-version table needs from the system. Windows answers from
// GetSystemDirectoryA and version.dll; the tests answer from a list.
namespace nsistumbra {

// The system directory, terminated; false when it cannot be read or does not fit.
bool ReadSystemDirectory(char* directory, std::size_t capacity);

// A file's version from its fixed version record: kOk, kInvalidArgument for an absent
// path or output, kFail without a readable version resource, kOutOfMemory when the
// resource cannot be buffered.
Status ReadFileVersion(const char* path, FileVersion64* version);

} // namespace nsistumbra
