#include "nsistumbra/version64.h"

#include <gtest/gtest.h>

namespace nsistumbra {
namespace {

TEST(Version64, PartsTakeTheirLowSixteenBits) {
    EXPECT_EQ(MakeVersion64(5, 1, 166, 881), 0x0005000100A60371u);
    EXPECT_EQ(MakeVersion64(0x12345, 0x10002, 3, 0xF0004), MakeVersion64(0x2345, 2, 3, 4));
    EXPECT_EQ(MajorWord(MakeVersion64(5, 1, 2600, 881)), 5u);
}

TEST(Version64, ComparesHighHalvesThenLowHalvesUnsigned) {
    struct Case {
        FileVersion64 x;
        FileVersion64 y;
        int expected;
    };
    const Case cases[] = {
        {MakeVersion64(4, 6, 0, 436), MakeVersion64(4, 6, 0, 436), 0},
        {MakeVersion64(4, 6, 0, 437), MakeVersion64(4, 6, 0, 436), 1},
        {MakeVersion64(5, 0, 0, 0), MakeVersion64(4, 0xFFFF, 0xFFFF, 0xFFFF), 1},
        {MakeVersion64(4, 8, 0, 0), MakeVersion64(4, 7, 0xFFFF, 0xFFFF), 1},
        {MakeVersion64(0x8000, 0, 0, 0), MakeVersion64(0x7FFF, 0, 0, 0), 1}, // top bit
        {MakeVersion64(1, 0, 0x8000, 0), MakeVersion64(1, 0, 0x7FFF, 0xFFFF), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.x << " vs " << c.y);
        EXPECT_EQ(CompareVersion64(c.x, c.y), c.expected);
        EXPECT_EQ(CompareVersion64(c.y, c.x), -c.expected);
    }
}

} // namespace
} // namespace nsistumbra
