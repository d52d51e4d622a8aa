#include "nsistumbra/dx_version.h"

#include "tests/nsistumbra/dx_answers.h"
#include "tests/support/fixed_dxdiag.h"
#include "tests/support/listed_system_files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

TEST(DirectXQuery, ProviderFirstThenTheFileTable) {
    using enum stand_in::DxDiag;
    struct Case {
        stand_in::DxDiag provider;
        std::uint32_t minor; // of 9
        char letter;
        std::vector<std::string> systemFiles;
        DxAnswer answer;
    };
    const Case cases[] = {
        {kAnswers, 0, 'c', {}, {0x00090003, "9.0c"}},
        {kAnswers, 0, 'C', {}, {0x00090003, "9.0c"}},
        {kAnswers, 0, 'A', {}, {0x00090001, "9.0a"}},
        {kAnswers, 0, ' ', {}, {0x00090000, "9.0"}},
        {kAnswers, 0, '1', {}, {0x00090000, "9.01"}},
        {kAnswers, 0, 'c', {"d3d9.dll 5.3.1.904"}, {0x00090003, "9.0c"}},
        {kMissing, 0, 'c', {"d3d9.dll 5.3.1.904"}, {0x00090000, "9.0"}},
        // Major and minor written before the letter failed never reach the answer.
        {kPartial, 4, 'c', {}, {0, "0.0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.provider) << " '" << c.letter << "' "
                                        << c.systemFiles.size() << " files");
        stand_in::SetSystemFiles(c.systemFiles);
        stand_in::SetDxDiag(c.provider, 9, c.minor, c.letter);
        EXPECT_EQ(AskDirectXVersion(), c.answer);
    }
}

TEST(DirectXQuery, WritesOnlyTheOutputsGivenWithinTheTextCapacity) {
    struct Case {
        bool packedGiven;
        bool textGiven;
        int capacity;
        const char* buffer; // its 8 characters afterwards, all guards before
    };
    const Case cases[] = {
        {true, true, 3, "9.\0#####"},  {true, true, 0, "########"},   {true, true, -1, "########"},
        {true, false, 99, "########"}, {false, true, 8, "9.0c\0###"},
    };
    stand_in::SetDxDiag(stand_in::DxDiag::kAnswers, 9, 0, 'c');
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.packedGiven << c.textGiven << " " << c.capacity);
        char text[8];
        std::memset(text, '#', sizeof text);
        PackedDxVersion packed = 0;
        QueryDirectXVersion(c.packedGiven ? &packed : nullptr, c.textGiven ? text : nullptr,
                            c.capacity);
        EXPECT_EQ(std::string(text, sizeof text), std::string(c.buffer, sizeof text));
        EXPECT_EQ(packed, c.packedGiven ? 0x00090003u : 0u);
    }
}

} // namespace
} // namespace nsistumbra
