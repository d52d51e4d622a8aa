#include "nsistumbra/plugin_calls.h"

#include "tests/nsistumbra/native/stack_helpers.h"
#include "tests/support/counting_heap.h"
#include "tests/support/fixed_directx_query.h"

#include <gtest/gtest.h>

namespace nsistumbra {
namespace {

using stack_helpers::MakeStack;
using stack_helpers::ReadStack;

constexpr Status kQueryFailed = E_FAIL;

template <class Char> class NeedDxVerVerdicts : public testing::Test {
  protected:
    void SetUp() override { stand_in::ResetCountingHeap(); }
    void TearDown() override { EXPECT_EQ(stand_in::LiveEntries(), 0); }
};

using CharTypes = testing::Types<char, char16_t>;
TYPED_TEST_SUITE(NeedDxVerVerdicts, CharTypes);

TYPED_TEST(NeedDxVerVerdicts, PopsTwoEntriesAndPushesVerdict) {
    struct Case {
        std::vector<std::string> before; // top first
        Status query;
        PackedDxVersion installed;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {{"90003", "x"}, S_OK, 0x00090003, {"ok"}},
        {{"90003", "x"}, S_OK, 0x00090000, {"sorry"}},
        {{"90004", "x"}, S_OK, 0x00090003, {"sorry"}},
        {{"80000", "x"}, S_OK, 0x00080102, {"ok"}},
        {{"0x9000C", "x"}, S_OK, 0x0009000C, {"ok"}},
        {{"90003 or newer", "x"}, S_OK, 0x00090003, {"ok"}},
        {{"0", "x"}, S_OK, 0, {"ok"}},
        {{"1", "x"}, S_OK, 0, {"sorry"}},
        {{"no digits", "x"}, S_OK, 0, {"ok"}},
        {{"80000000", "x"}, S_OK, 0x00090003, {"sorry"}}, // unsigned comparison
        {{"90003", "x", "kept"}, S_OK, 0x00090003, {"ok", "kept"}},
        {{"90003", "x"}, kQueryFailed, 0, {"err2"}},
        {{"90003"}, S_OK, 0x00090003, {"err"}},
        {{}, S_OK, 0x00090003, {"err"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.before.empty() ? "(empty)" : c.before[0]) << " / " << c.installed);
        StackEntry* top = MakeStack<TypeParam>(c.before, 1024);
        stand_in::SetInstalledVersion(c.query, c.installed);
        NeedDxVer(HostStack<TypeParam>{1024, &top});
        EXPECT_EQ(ReadStack<TypeParam>(top), c.after);
        // Asked once, for a text of capacity 99, unless an entry was missing.
        const bool asked = c.after[0] != "err";
        EXPECT_EQ(stand_in::DirectXQueryCount(), asked ? 1 : 0);
        EXPECT_EQ(stand_in::LastQueryTextCapacity(), asked ? 99 : 0);
        stack_helpers::FreeStack(top);
    }
}

TYPED_TEST(NeedDxVerVerdicts, VerdictIsCutToStringSize) {
    StackEntry* top = MakeStack<TypeParam>({"FF", "x"}, 3);
    stand_in::SetInstalledVersion(S_OK, 0x10);
    NeedDxVer(HostStack<TypeParam>{3, &top});
    EXPECT_EQ(ReadStack<TypeParam>(top), std::vector<std::string>{"so"});
    stack_helpers::FreeStack(top);
}

TYPED_TEST(NeedDxVerVerdicts, WithoutStackTopNothingHappens) {
    stand_in::SetInstalledVersion(S_OK, 0x00090003);
    NeedDxVer(HostStack<TypeParam>{1024, nullptr});
    EXPECT_EQ(stand_in::DirectXQueryCount(), 0);
}

TEST(NeedDxVer2, ComparesRequirementWithInstalledVersion) {
    struct Case {
        const char* requirement;
        Status query;
        PackedDxVersion installed;
        int result;
    };
    const Case cases[] = {
        {"90000", S_OK, 0x00090003, 1},
        {"90000", S_OK, 0x00080100, 0},
        {"90003", S_OK, 0x00090003, 1},
        {"0x90004", S_OK, 0x00090003, 0},
        {"0", S_OK, 0, -1},
        {"90003", kQueryFailed, 0, -1},
        {nullptr, S_OK, 0x00090003, 1},
        {"not hex", S_OK, 0x00010000, 1},
        {"FFFFFFFF", S_OK, 0x00090003, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.requirement ? c.requirement : "(absent)") << " / " << c.installed);
        stand_in::SetInstalledVersion(c.query, c.installed);
        EXPECT_EQ(NeedDxVer2(c.requirement), c.result);
        EXPECT_EQ(stand_in::LastQueryTextCapacity(), 99);
    }
}

} // namespace
} // namespace nsistumbra
