#pragma once

#include <cstdint>

namespace nsistumbra {

// COM-style status codes: 0 or more is success, negative is failure. Only the exports
// turn them into verdict strings or integers.
using Status = std::int32_t;

constexpr bool Succeeded(Status status) {
    return status >= 0;
}
constexpr bool Failed(Status status) {
    return status < 0;
}

// The Windows headers, when a platform file includes them first, define the same codes.
#ifndef S_OK
constexpr Status S_OK = 0;
constexpr Status E_FAIL = static_cast<Status>(0x80004005u);
constexpr Status E_INVALIDARG = static_cast<Status>(0x80070057u);
constexpr Status E_OUTOFMEMORY = static_cast<Status>(0x8007000Eu);
#endif

// A buffer too small for the whole text: ERROR_INSUFFICIENT_BUFFER as a status code.
constexpr Status kInsufficientBuffer = static_cast<Status>(0x8007007Au);

} // namespace nsistumbra
