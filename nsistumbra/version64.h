#pragma once

#include <cstdint>

namespace nsistumbra {

// A file version a.b.c.d: a in bits 48-63, b in 32-47, c in 16-31, d in 0-15, so that
// versions order as their numbers do.
using FileVersion64 = std::uint64_t;

constexpr FileVersion64 MakeVersion64(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                      std::uint32_t d) {
    return (FileVersion64{a & 0xFFFFu} << 48) | (FileVersion64{b & 0xFFFFu} << 32) |
           (FileVersion64{c & 0xFFFFu} << 16) | FileVersion64{d & 0xFFFFu};
}

constexpr std::uint32_t MajorWord(FileVersion64 version) {
    return static_cast<std::uint32_t>(version >> 48);
}

} // namespace nsistumbra
