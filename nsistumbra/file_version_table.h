#pragma once

#include <cstddef>
#include <cstdint>

namespace nsistumbra {

constexpr std::size_t kSystemDirectoryCapacity = 260;
constexpr std::size_t kFilePathCapacity = 512;

// Works out the DirectX version from the versions of DirectX files in the system
// directory; 0, 0, ' ' when nothing is found. Any output may be absent.
void QueryVersionFromFiles(std::uint32_t* major, std::uint32_t* minor, char* letter);

// The same over a given directory.
void QueryVersionFromFilesIn(const char* directory, std::uint32_t* major, std::uint32_t* minor,
                             char* letter);

} // namespace nsistumbra
