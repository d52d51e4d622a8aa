#pragma once

#include <cctype>

namespace hiscores {

// Whether text begins with prefix, letters compared without regard to case.
inline bool StartsWithIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (tolower(static_cast<unsigned char>(*text)) !=
            tolower(static_cast<unsigned char>(*prefix)))
            return false;
    }
    return true;
}

} // namespace hiscores
