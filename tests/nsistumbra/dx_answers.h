#pragma once

#include "nsistumbra/dx_version.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

// The DirectX version as the queries give it, asked over stale outputs and compared
// as a whole, for the native tests and the ones under Wine alike.
namespace nsistumbra {

struct DxVersionParts {
    std::uint32_t major;
    std::uint32_t minor;
    char letter;
    bool operator==(const DxVersionParts&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const DxVersionParts& parts) {
    return out << "{" << parts.major << ", " << parts.minor << ", '" << parts.letter << "'}";
}

// What a query of major, minor and letter writes.
template <class Query> DxVersionParts QueryParts(Query query) {
    DxVersionParts parts{77, 77, '?'};
    query(&parts.major, &parts.minor, &parts.letter);
    return parts;
}

struct DxAnswer {
    PackedDxVersion packed;
    std::string text;
    bool operator==(const DxAnswer&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const DxAnswer& answer) {
    return out << std::hex << "{0x" << answer.packed << ", \"" << answer.text << "\"}";
}

// QueryDirectXVersion asked as the plug-in asks it, for a text of capacity 99.
inline DxAnswer AskDirectXVersion() {
    DxAnswer answer{1, ""};
    char text[100] = "stale";
    QueryDirectXVersion(&answer.packed, text, 99);
    answer.text = text;
    return answer;
}

} // namespace nsistumbra
