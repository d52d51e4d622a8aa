#include "nsistumbra/plugin_calls.h"

#include "tests/nsistumbra/stack_helpers.h"
#include "tests/support/counting_heap.h"
#include "tests/support/fixed_directx_query.h"

#include <gtest/gtest.h>

namespace nsistumbra {
namespace {

struct Installed {
    PackedDxVersion packed;
    const char* text;
};

constexpr Installed kNineZeroC = {0x00090003, "9.0c"};
constexpr Installed kNothing = {0, "0.0"};

template <class Char> class StackExports : public testing::Test {
  protected:
    void SetUp() override { stand_in::ResetCountingHeap(); }
    void TearDown() override { EXPECT_EQ(stand_in::LiveEntries(), 0); }
};

using CharTypes = testing::Types<char, char16_t>;
TYPED_TEST_SUITE(StackExports, CharTypes);

TYPED_TEST(StackExports, TakeTheirEntriesAndPushTheirAnswer) {
    constexpr auto needdxver = NeedDxVer<TypeParam>;
    constexpr auto dxversion = DxVersion<TypeParam>;
    struct Case {
        void (*call)(const HostStack<TypeParam>&);
        std::vector<std::string> before; // top first
        Installed installed;
        std::vector<std::string> after;
        int stringSize = 1024;
    };
    const Case cases[] = {
        {needdxver, {"90003", "x"}, kNineZeroC, {"ok"}},
        {needdxver, {"90003", "x"}, {0x00090000, "9.0"}, {"sorry"}},
        {needdxver, {"90004", "x"}, kNineZeroC, {"sorry"}},
        {needdxver, {"80000", "x"}, {0x00080102, "8.1b"}, {"ok"}},
        {needdxver, {"0x9000C", "x"}, {0x0009000C, "9.0l"}, {"ok"}},
        {needdxver, {"90003 or newer", "x"}, kNineZeroC, {"ok"}},
        {needdxver, {"0", "x"}, kNothing, {"ok"}},
        {needdxver, {"1", "x"}, kNothing, {"sorry"}},
        {needdxver, {"no digits", "x"}, kNothing, {"ok"}},
        {needdxver, {"80000000", "x"}, kNineZeroC, {"sorry"}}, // unsigned comparison
        {needdxver, {"90003", "x", "kept"}, kNineZeroC, {"ok", "kept"}},
        {needdxver, {"FF", "x"}, {0x10, "0.0p"}, {"so"}, 3}, // cut to the string size
        {needdxver, {"90003"}, kNineZeroC, {"err"}},
        {needdxver, {}, kNineZeroC, {"err"}},
        {dxversion, {}, kNineZeroC, {"9.0c"}},
        {dxversion, {"kept", "x"}, {0x00080100, "8.1"}, {"8.1", "kept", "x"}},
        {dxversion, {"90003"}, kNothing, {"0.0", "90003"}},
        {dxversion, {}, {0x000C0000, "12.0"}, {"12.0"}},
        {dxversion, {}, kNineZeroC, {"9."}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.call == needdxver ? "needdxver " : "dxversion ")
                     << (c.before.empty() ? "(empty)" : c.before[0]) << " / " << c.installed.text);
        StackEntry* top = stack_helpers::MakeStack<TypeParam>(c.before, c.stringSize);
        stand_in::SetInstalledVersion(c.installed.packed, c.installed.text);
        c.call(HostStack<TypeParam>{c.stringSize, &top});
        EXPECT_EQ(stack_helpers::DrainStack<TypeParam>(top), c.after);
        // Asked once, for a text of capacity 99, unless an entry was missing.
        const bool asked = c.after[0] != "err";
        EXPECT_EQ(stand_in::DirectXQueryCount(), asked ? 1 : 0);
        EXPECT_EQ(stand_in::LastQueryTextCapacity(), asked ? 99 : 0);
    }
}

TYPED_TEST(StackExports, WithoutStackTopNothingIsTakenOrLeft) {
    stand_in::SetInstalledVersion(kNineZeroC.packed, kNineZeroC.text);
    NeedDxVer(HostStack<TypeParam>{1024, nullptr});
    EXPECT_EQ(stand_in::DirectXQueryCount(), 0);
    DxVersion(HostStack<TypeParam>{1024, nullptr});
    EXPECT_EQ(stand_in::LiveEntries(), 0);
}

TEST(NeedDxVer2, ComparesRequirementWithInstalledVersion) {
    struct Case {
        const char* requirement;
        PackedDxVersion installed;
        int result;
    };
    const Case cases[] = {
        {"90000", 0x00090003, 1},
        {"90000", 0x00080100, 0},
        {"90003", 0x00090003, 1},
        {"0x90004", 0x00090003, 0},
        {"0", 0, -1},
        {nullptr, 0x00090003, 1},
        {"not hex", 0x00010000, 1},
        {"FFFFFFFF", 0x00090003, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.requirement ? c.requirement : "(absent)") << " / " << c.installed);
        stand_in::SetInstalledVersion(c.installed, "");
        EXPECT_EQ(NeedDxVer2(c.requirement), c.result);
        EXPECT_EQ(stand_in::LastQueryTextCapacity(), 99);
    }
}

} // namespace
} // namespace nsistumbra
