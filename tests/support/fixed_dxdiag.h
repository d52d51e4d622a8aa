#pragma once

#include <cstdint>

// A stand-in for the DirectX diagnostic provider: tests say what it answers.
namespace stand_in {

enum class DxDiag {
    kAnswers, // all three values read
    kPartial, // major and minor written, then the letter cannot be read and the query fails
    kMissing, // nothing written and the query fails
};

void SetDxDiag(DxDiag provider, std::uint32_t major, std::uint32_t minor, char letter);

} // namespace stand_in
