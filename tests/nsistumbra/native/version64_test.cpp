#include "nsistumbra/version64.h"

#include <gtest/gtest.h>

namespace nsistumbra {
namespace {

TEST(Version64, PartsTakeTheirLowSixteenBits) {
    EXPECT_EQ(0x0005000100A60371u, MakeVersion64(5, 1, 166, 881));
    EXPECT_EQ(MakeVersion64(0x2345, 2, 3, 4), MakeVersion64(0x12345, 0x10002, 3, 0xF0004));
    EXPECT_EQ(5u, MajorWord(MakeVersion64(5, 1, 2600, 881)));
}

struct CompareCase {
    FileVersion64 x;
    FileVersion64 y;
    int expected;
};

TEST(Version64, ComparesHighHalvesThenLowHalvesUnsigned) {
    const CompareCase cases[] = {
        {MakeVersion64(4, 6, 0, 436), MakeVersion64(4, 6, 0, 436), 0},
        {MakeVersion64(4, 6, 0, 437), MakeVersion64(4, 6, 0, 436), 1},
        {MakeVersion64(5, 0, 0, 0), MakeVersion64(4, 0xFFFF, 0xFFFF, 0xFFFF), 1},
        {MakeVersion64(4, 8, 0, 0), MakeVersion64(4, 7, 0xFFFF, 0xFFFF), 1},
        {MakeVersion64(0x8000, 0, 0, 0), MakeVersion64(0x7FFF, 0, 0, 0), 1}, // top bit
        {MakeVersion64(1, 0, 0x8000, 0), MakeVersion64(1, 0, 0x7FFF, 0xFFFF), 1},
    };
    for (const CompareCase& c : cases) {
        EXPECT_EQ(c.expected, CompareVersion64(c.x, c.y)) << std::hex << c.x << " vs " << c.y;
        EXPECT_EQ(-c.expected, CompareVersion64(c.y, c.x)) << std::hex << c.y << " vs " << c.x;
    }
}

} // namespace
} // namespace nsistumbra
