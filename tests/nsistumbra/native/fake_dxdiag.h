#pragma once

#include <cstdint>

// The DirectX diagnostic provider's answer, as the tests choose it.
namespace nsistumbra::fake {

// A provider that reads all three values.
void SetDxDiagAnswer(std::uint32_t major, std::uint32_t minor, char letter);

// A provider whose letter cannot be read: major and minor are still written, then the
// query fails.
void SetDxDiagPartial(std::uint32_t major, std::uint32_t minor);

// No provider at all: nothing is written and the query fails.
void SetDxDiagMissing();

} // namespace nsistumbra::fake
