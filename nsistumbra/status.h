#pragma once

#include <cstdint>

namespace nsistumbra {

// COM-style status codes of the bounded strings and the system seams, with their system
// values; kOk is the only success.
enum class Status : std::int32_t {
    kOk = 0,
    kFail = static_cast<std::int32_t>(0x80004005u),
    kInvalidArgument = static_cast<std::int32_t>(0x80070057u),
    kOutOfMemory = static_cast<std::int32_t>(0x8007000Eu),
    // A buffer too small for the whole text: ERROR_INSUFFICIENT_BUFFER as a status code.
    kInsufficientBuffer = static_cast<std::int32_t>(0x8007007Au),
};

} // namespace nsistumbra
