#include "nsistumbra/dx_version.h"

#include "tests/nsistumbra/dx_answers.h"
#include "tests/support/fixed_dxdiag.h"
#include "tests/support/listed_system_files.h"

#include <gtest/gtest.h>

#include <cstring>

namespace nsistumbra {
namespace {

TEST(PackedDxVersion, LetterNumberAfterLowerCasingWithoutMasking) {
    struct Case {
        std::uint32_t major;
        std::uint32_t minor;
        char letter;
        PackedDxVersion packed;
    };
    const Case cases[] = {
        {9, 0, 'c', 0x00090003},   {9, 0, 'C', 0x00090003},  {8, 1, 'b', 0x00080102},
        {7, 0, 'a', 0x00070001},   {9, 0, 'z', 0x0009001A},  {9, 0, ' ', 0x00090000},
        {9, 0, '1', 0x00090000},   {9, 0, '{', 0x00090000},  {0, 0, ' ', 0},
        {9, 256, ' ', 0x000A0000}, {10, 0, ' ', 0x000A0000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << '.' << c.minor << c.letter);
        EXPECT_EQ(PackDxVersion(c.major, c.minor, c.letter), c.packed);
    }
}

class DirectXQuery : public testing::Test {
  protected:
    void SetUp() override {
        stand_in::ResetSystemFiles();
        stand_in::SetDxDiagMissing();
    }
};

TEST_F(DirectXQuery, ProviderAnswerIsPackedAndWritten) {
    struct Case {
        char letter;
        PackedDxVersion packed;
        const char* text;
    };
    const Case cases[] = {
        {'c', 0x00090003, "9.0c"}, {'C', 0x00090003, "9.0c"}, {'A', 0x00090001, "9.0a"},
        {' ', 0x00090000, "9.0"},  {'1', 0x00090000, "9.01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '\'' << c.letter << '\'');
        stand_in::SetDxDiagAnswer(9, 0, c.letter);
        EXPECT_EQ(AskDirectXVersion(), (DxAnswer{S_OK, c.packed, c.text}));
    }
}

TEST_F(DirectXQuery, WithoutProviderTheFileTableDecides) {
    stand_in::AddSystemFile("d3d9.dll", MakeVersion64(5, 3, 1, 904));
    EXPECT_EQ(AskDirectXVersion(), (DxAnswer{S_OK, 0x00090000, "9.0"}));
}

TEST_F(DirectXQuery, PartialProviderAnswerNeverReachesTheResult) {
    stand_in::SetDxDiagPartial(9, 4);
    EXPECT_EQ(AskDirectXVersion(), (DxAnswer{S_OK, 0, "0.0"}));
}

TEST_F(DirectXQuery, TextIsCutToItsCapacity) {
    stand_in::SetDxDiagAnswer(9, 0, 'c');
    char text[8];
    std::memset(text, '#', sizeof text);
    PackedDxVersion packed = 0;
    EXPECT_EQ(QueryDirectXVersion(&packed, text, 3), S_OK);
    EXPECT_STREQ(text, "9.");
    EXPECT_EQ(text[3], '#');
    EXPECT_EQ(packed, 0x00090003u);
}

TEST_F(DirectXQuery, NoTextWithoutCapacityOrLocation) {
    stand_in::SetDxDiagAnswer(9, 0, 'c');
    char text[8] = "xyz";
    PackedDxVersion packed = 0;
    EXPECT_EQ(QueryDirectXVersion(&packed, text, 0), S_OK);
    EXPECT_STREQ(text, "xyz");
    EXPECT_EQ(QueryDirectXVersion(&packed, text, -1), S_OK);
    EXPECT_STREQ(text, "xyz");
    EXPECT_EQ(QueryDirectXVersion(&packed, nullptr, 99), S_OK);
    EXPECT_EQ(packed, 0x00090003u);
    EXPECT_EQ(QueryDirectXVersion(nullptr, text, 8), S_OK);
    EXPECT_STREQ(text, "9.0c");
}

} // namespace
} // namespace nsistumbra
