#include "nsistumbra/hex_requirement.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace nsistumbra {
namespace {

// Each text also as 16-bit characters, which read the same.
TEST(HexRequirement, ReadsAsPercentLxDoes) {
    struct Case {
        const char* text;
        std::uint32_t expected;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
        EXPECT_EQ(ReadHexRequirement(c.text), c.expected);
        const std::u16string wide(c.text, c.text + std::strlen(c.text));
        EXPECT_EQ(ReadHexRequirement(wide.c_str()), c.expected);
    }
}

TEST(HexRequirement, AbsentTextReadsAsZero) {
    EXPECT_EQ(ReadHexRequirement(static_cast<const char*>(nullptr)), 0u);
}

} // namespace
} // namespace nsistumbra
