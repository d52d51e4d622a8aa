#pragma once

#include <cstdint>

namespace nsistumbra {

// Reads a required version the way sscanf reads "%lx": white space skipped, an optional
// sign and 0x/0X prefix, hexadecimal digits of either case up to the first other
// character. No digits (or an absent text) reads as 0; a value beyond 32 bits as the
// largest one.
template <class Char> constexpr std::uint32_t ReadHexRequirement(const Char* text) {
    if (text == nullptr)
        return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text += 2;
    std::uint64_t value = 0;
    for (;; ++text) {
        std::uint32_t digit;
        if (*text >= '0' && *text <= '9')
            digit = static_cast<std::uint32_t>(*text - '0');
        else if (*text >= 'a' && *text <= 'f')
            digit = static_cast<std::uint32_t>(*text - 'a' + 10);
        else if (*text >= 'A' && *text <= 'F')
            digit = static_cast<std::uint32_t>(*text - 'A' + 10);
        else
            break;
        value = value * 16 + digit;
        if (value > 0xFFFFFFFFu)
            return 0xFFFFFFFFu;
    }
    const auto result = static_cast<std::uint32_t>(value);
    return negative ? 0u - result : result;
}

} // namespace nsistumbra
