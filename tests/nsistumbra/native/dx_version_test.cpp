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
    using stand_in::DxNumber, stand_in::DxString;
    const DxDiagProperty nine = DxNumber(9), zero = DxNumber(0), unread;
    const std::vector<std::string> d3d8 = {"d3d8.dll 5.1.2600.881"}; // the file table's 8.1
    struct Case {
        const char* behaviour;
        DxDiagSystemInfo provider;
        std::vector<std::string> systemFiles;
        DxAnswer answer;
    };
    const Case cases[] = {
        {"9, 0, c", {nine, zero, DxString(1, 'c')}, {}, {0x00090003, "9.0c"}},
        {"upper case", {nine, zero, DxString(1, 'C')}, {}, {0x00090003, "9.0c"}},
        {"a", {nine, zero, DxString(1, 'A')}, {}, {0x00090001, "9.0a"}},
        {"a blank: no letter", {nine, zero, DxString(1, ' ')}, {}, {0x00090000, "9.0"}},
        {"a digit: shown, not counted", {nine, zero, DxString(1, '1')}, {}, {0x00090000, "9.01"}},
        {"12 characters: the first", {nine, zero, DxString(12, 'b')}, {}, {0x00090002, "9.0b"}},
        {"asked before the files", {nine, zero, DxString(1, 'c')}, d3d8, {0x00090003, "9.0c"}},
        {"no provider", {}, d3d8, {0x00080100, "8.1"}},
        {"an empty letter", {nine, zero, DxString(0, '\0')}, d3d8, {0x00080100, "8.1"}},
        {"a letter not a string", {nine, zero, {true, 19, 3, 1, 'c'}}, d3d8, {0x00080100, "8.1"}},
        {"a signed major", {DxNumber(9, 3), zero, DxString(1, 'c')}, d3d8, {0x00080100, "8.1"}},
        {"a minor not read", {nine, unread, DxString(1, 'c')}, d3d8, {0x00080100, "8.1"}},
        {"a read that failed", {{false, 19, 9}, zero, DxString(1, 'c')}, d3d8, {0x00080100, "8.1"}},
        {"a letter's read failed", {nine, zero, {false, 8, 0, 1, 'c'}}, d3d8, {0x00080100, "8.1"}},
        // Major and minor taken before the letter failed never reach the answer.
        {"a letter not read", {nine, DxNumber(4), unread}, {}, {0, "0.0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        stand_in::SetSystemFiles(c.systemFiles);
        stand_in::SetDxDiag(c.provider);
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
    stand_in::SetDxDiag({stand_in::DxNumber(9), stand_in::DxNumber(0), stand_in::DxString(1, 'c')});
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
