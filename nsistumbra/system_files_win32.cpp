#include <windows.h>

#include "nsistumbra/system_files.h"

namespace nsistumbra {

bool ReadSystemDirectory(char* directory, std::size_t capacity) {
    const UINT length = GetSystemDirectoryA(directory, static_cast<UINT>(capacity));
    // A directory that does not fit comes back as the size it needs, with nothing filled.
    return length != 0 && length < capacity;
}

Status ReadFileVersion(const char* path, FileVersion64* version) {
    if (path == nullptr || version == nullptr)
        return Status::kInvalidArgument;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return Status::kFail;
    void* resource = GlobalAlloc(GPTR, size);
    if (resource == nullptr)
        return Status::kOutOfMemory;
    Status status = Status::kFail;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (GetFileVersionInfoA(path, 0, size, resource) &&
        VerQueryValueA(resource, "\\", reinterpret_cast<void**>(&fixed), &fixedSize) &&
        fixed != nullptr) {
        *version = (FileVersion64{fixed->dwFileVersionMS} << 32) | fixed->dwFileVersionLS;
        status = Status::kOk;
    }
    GlobalFree(resource);
    return status;
}

} // namespace nsistumbra
