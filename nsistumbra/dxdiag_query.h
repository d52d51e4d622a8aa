#pragma once

#include <cstdint>

// What the DirectX diagnostic provider (a COM in-process server) says of the DirectX
// version, as it says it; which answers count is decided in dx_version.cpp.
namespace nsistumbra {

// One property of the provider's system information.
struct DxDiagProperty {
    bool read = false;        // the provider gave it
    std::uint16_t type = 0;   // the variant's type, as COM numbers them
    std::uint32_t value = 0;  // any type but a string: its first 32 bits
    std::uint32_t length = 0; // a string: its length in characters,
    char first = '\0';        // and its first character in the ANSI code page
};

struct DxDiagSystemInfo {
    DxDiagProperty major;  // "dwDirectXVersionMajor"
    DxDiagProperty minor;  // "dwDirectXVersionMinor"
    DxDiagProperty letter; // "szDirectXVersionLetter"
};

// Asks the provider for the three properties, joining COM for the call and leaving it as
// it was; what the provider cannot give stays unread.
void ReadDxDiagSystemInfo(DxDiagSystemInfo* info);

} // namespace nsistumbra
