#include "nsistumbra/hex_requirement.h"

#include <gtest/gtest.h>

#include <cstring>

namespace nsistumbra {
namespace {

struct HexCase {
    const char* text;
    std::uint32_t expected;
};

const HexCase kHexCases[] = {
    {"90003", 0x90003},
    {"0x90003", 0x90003},
    {"0X90003", 0x90003},
    {"9000C", 0x9000C},
    {"9000c", 0x9000C},
    {"90003 please", 0x90003},
    {"80100x", 0x80100},
    {" \t\n90003", 0x90003},
    {"FFFFFFFF", 0xFFFFFFFF},
    {"100000000", 0xFFFFFFFF}, // beyond 32 bits
    {"+10", 0x10},
    {"-1", 0xFFFFFFFF},
    {"0", 0},
    {"", 0},
    {"   ", 0},
    {"garbage", 0},
    {"0x", 0},
    {"0xg1", 0},
    {"- 1", 0},
};

TEST(HexRequirement, ReadsAsPercentLxDoes) {
    for (const HexCase& c : kHexCases)
        EXPECT_EQ(c.expected, ReadHexRequirement(c.text)) << '"' << c.text << '"';
}

TEST(HexRequirement, SixteenBitTextsReadTheSame) {
    for (const HexCase& c : kHexCases) {
        char16_t wide[32] = {};
        for (std::size_t index = 0; c.text[index] != '\0'; ++index)
            wide[index] = static_cast<char16_t>(c.text[index]);
        EXPECT_EQ(c.expected, ReadHexRequirement(wide)) << '"' << c.text << '"';
    }
}

TEST(HexRequirement, AbsentTextReadsAsZero) {
    EXPECT_EQ(0u, ReadHexRequirement(static_cast<const char*>(nullptr)));
}

} // namespace
} // namespace nsistumbra
