#pragma once

#include <cstdint>

// A stand-in for the DirectX diagnostic provider: tests say what it answers.
namespace stand_in {

// A provider that reads all three values.
void SetDxDiagAnswer(std::uint32_t major, std::uint32_t minor, char letter);

// A provider whose letter cannot be read: major and minor are still written, then the
// query fails.
void SetDxDiagPartial(std::uint32_t major, std::uint32_t minor);

// No provider at all: nothing is written and the query fails.
void SetDxDiagMissing();

} // namespace stand_in
