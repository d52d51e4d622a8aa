#include "nsistumbra/dx_version.h"

#include "tests/support/fixed_dxdiag.h"
#include "tests/support/listed_system_files.h"

#include <gtest/gtest.h>

#include <cstring>

namespace nsistumbra {
namespace {

struct PackCase {
    std::uint32_t major;
    std::uint32_t minor;
    char letter;
    PackedDxVersion packed;
};

TEST(PackedDxVersion, LetterNumberAfterLowerCasingWithoutMasking) {
    const PackCase cases[] = {
        {9, 0, 'c', 0x00090003},   {9, 0, 'C', 0x00090003},  {8, 1, 'b', 0x00080102},
        {7, 0, 'a', 0x00070001},   {9, 0, 'z', 0x0009001A},  {9, 0, ' ', 0x00090000},
        {9, 0, '1', 0x00090000},   {9, 0, '{', 0x00090000},  {0, 0, ' ', 0},
        {9, 256, ' ', 0x000A0000}, {10, 0, ' ', 0x000A0000},
    };
    for (const PackCase& c : cases)
        EXPECT_EQ(c.packed, PackDxVersion(c.major, c.minor, c.letter))
            << c.major << '.' << c.minor << c.letter;
}

struct ProviderCase {
    char letter;
    PackedDxVersion packed;
    const char* text;
};

class DirectXQuery : public ::testing::Test {
  protected:
    void SetUp() override {
        stand_in::ResetSystemFiles();
        stand_in::SetDxDiagMissing();
    }
};

TEST_F(DirectXQuery, ProviderAnswerIsPackedAndWritten) {
    const ProviderCase cases[] = {
        {'c', 0x00090003, "9.0c"},
        {'C', 0x00090003, "9.0c"},
        {' ', 0x00090000, "9.0"},
        {'1', 0x00090000, "9.01"},
    };
    for (const ProviderCase& c : cases) {
        stand_in::SetDxDiagAnswer(9, 0, c.letter);
        PackedDxVersion packed = 1;
        char text[100] = "stale";
        EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, text, 99)) << c.letter;
        EXPECT_EQ(c.packed, packed) << c.letter;
        EXPECT_STREQ(c.text, text) << c.letter;
    }
}

TEST_F(DirectXQuery, WithoutProviderTheFileTableDecides) {
    stand_in::AddSystemFile("d3d9.dll", MakeVersion64(5, 3, 1, 904));
    PackedDxVersion packed = 1;
    char text[100] = "stale";
    EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, text, 99));
    EXPECT_EQ(0x00090000u, packed);
    EXPECT_STREQ("9.0", text);
}

TEST_F(DirectXQuery, PartialProviderAnswerNeverReachesTheResult) {
    stand_in::SetDxDiagPartial(9, 4);
    PackedDxVersion packed = 1;
    char text[100] = "stale";
    EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, text, 99));
    EXPECT_EQ(0u, packed);
    EXPECT_STREQ("0.0", text);
}

TEST_F(DirectXQuery, TextIsCutToItsCapacity) {
    stand_in::SetDxDiagAnswer(9, 0, 'c');
    char text[8];
    std::memset(text, '#', sizeof text);
    PackedDxVersion packed = 0;
    EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, text, 3));
    EXPECT_STREQ("9.", text);
    EXPECT_EQ('#', text[3]);
    EXPECT_EQ(0x00090003u, packed);
}

TEST_F(DirectXQuery, NoTextWithoutCapacityOrLocation) {
    stand_in::SetDxDiagAnswer(9, 0, 'c');
    char text[8] = "xyz";
    PackedDxVersion packed = 0;
    EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, text, 0));
    EXPECT_STREQ("xyz", text);
    EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, text, -1));
    EXPECT_STREQ("xyz", text);
    EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, nullptr, 99));
    EXPECT_EQ(0x00090003u, packed);
    EXPECT_EQ(S_OK, QueryDirectXVersion(nullptr, text, 8));
    EXPECT_STREQ("9.0c", text);
}

} // namespace
} // namespace nsistumbra
