#include "nsistumbra/version64.h"

#include <gtest/gtest.h>

namespace nsistumbra {
namespace {

TEST(Version64, PartsTakeTheirLowSixteenBits) {
    EXPECT_EQ(MakeVersion64(5, 1, 166, 881), 0x0005000100A60371u);
    EXPECT_EQ(MakeVersion64(0x12345, 0x10002, 3, 0xF0004), MakeVersion64(0x2345, 2, 3, 4));
    EXPECT_EQ(MajorWord(MakeVersion64(5, 1, 2600, 881)), 5u);
}

} // namespace
} // namespace nsistumbra
