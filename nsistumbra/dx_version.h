#pragma once

#include "nsistumbra/status.h"

#include <cstdint>

namespace nsistumbra {

// ((major * 256) + minor) * 256 + letter number, unmasked: 9.0c is 0x00090003.
using PackedDxVersion = std::uint32_t;

constexpr char LowerLetter(char letter) {
    return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
}

// 1 for 'a' (or 'A') up to 26 for 'z'; 0 for anything else, the space included.
constexpr std::uint32_t LetterNumber(char letter) {
    const char lower = LowerLetter(letter);
    return lower >= 'a' && lower <= 'z' ? static_cast<std::uint32_t>(lower - 'a' + 1) : 0;
}

constexpr PackedDxVersion PackDxVersion(std::uint32_t major, std::uint32_t minor, char letter) {
    return ((major * 256u) + minor) * 256u + LetterNumber(letter);
}

// The DirectX diagnostic provider's answer: kOk only when major and minor came as
// unsigned 32-bit numbers and the letter as a string of at least one character. Each is
// written as soon as it counts, so a failed query may have written some. Any output may be
// absent.
Status QueryVersionFromDxDiag(std::uint32_t* major, std::uint32_t* minor, char* letter);

// Asks the DirectX diagnostic provider, then the file-version table, which always
// answers. Writes the packed version and its text ("9.0c", "8.1", "0.0" when nothing was
// found), cut and terminated when it does not fit. The packed and the text locations may
// be absent; the text is written only when textCapacity is above 0.
void QueryDirectXVersion(PackedDxVersion* packed, char* text, int textCapacity);

} // namespace nsistumbra
