#pragma once

#include "nsistumbra/status.h"

#include <cstdint>

namespace nsistumbra {

// Asks the DirectX diagnostic provider (a COM in-process server) for the DirectX version.
// kOk only when major, minor and letter were all read; each is written as soon as it
// is read, so a failed query may have written some. Any output may be absent.
Status QueryVersionFromDxDiag(std::uint32_t* major, std::uint32_t* minor, char* letter);

} // namespace nsistumbra
