#pragma once

#include "nsistumbra/dx_version.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>

// The DirectX version as the queries give it, asked over stale outputs and compared
// as a whole, for the native tests and the ones under Wine alike.
namespace nsistumbra {

// Major, minor and letter.
using DxVersionParts = std::tuple<std::uint32_t, std::uint32_t, char>;

// What a query of major, minor and letter writes.
template <class Query> DxVersionParts QueryParts(Query query) {
    DxVersionParts parts{77, 77, '?'};
    query(&std::get<0>(parts), &std::get<1>(parts), &std::get<2>(parts));
    return parts;
}

// The packed version and its text.
using DxAnswer = std::pair<PackedDxVersion, std::string>;

// QueryDirectXVersion asked as the plug-in asks it, for a text of capacity 99.
inline DxAnswer AskDirectXVersion() {
    PackedDxVersion packed = 1;
    char text[100] = "stale";
    QueryDirectXVersion(&packed, text, 99);
    return {packed, text};
}

} // namespace nsistumbra
