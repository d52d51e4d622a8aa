#pragma once

#include "nsistumbra/dxdiag_query.h"

#include <cstdint>

// A stand-in for the DirectX diagnostic provider: tests say what it answers.
namespace stand_in {

// What ReadDxDiagSystemInfo gives from now on.
void SetDxDiag(const nsistumbra::DxDiagSystemInfo& answer);

// Properties as the provider gives them: a number of a variant type, a string.
constexpr nsistumbra::DxDiagProperty DxNumber(std::uint32_t value, std::uint16_t type = 19) {
    return {true, type, value, 0, '\0'};
}
constexpr nsistumbra::DxDiagProperty DxString(std::uint32_t length, char first) {
    return {true, 8, 0, length, first};
}

} // namespace stand_in
