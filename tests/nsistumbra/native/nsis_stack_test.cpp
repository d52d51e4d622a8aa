#include "nsistumbra/nsis_stack.h"

#include "tests/nsistumbra/stack_helpers.h"
#include "tests/support/counting_heap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace nsistumbra {
namespace {

using stack_helpers::DrainStack;
using stack_helpers::MakeStack;
using Texts = std::vector<std::string>;

constexpr int kStringSize = 1024;

// The same protocol serves the ANSI installer and, with 16-bit texts, the Unicode ones.
template <class Char> class NsisStack : public testing::Test {
  protected:
    void SetUp() override { stand_in::ResetCountingHeap(); }
    void TearDown() override { EXPECT_EQ(stand_in::LiveEntries(), 0); }
};

using CharTypes = testing::Types<char, char16_t>;
TYPED_TEST_SUITE(NsisStack, CharTypes);

TYPED_TEST(NsisStack, PopTakesTheTopEntryCutToTheBuffer) {
    struct Case {
        Texts before; // top first
        bool stackGiven;
        int result;
        std::string popped; // the buffer held "x" before
        Texts after;
    };
    const Case cases[] = {
        {{"90003", "below"}, true, 0, "90003", {"below"}},
        {{std::string(150, 'f')}, true, 0, std::string(kPluginTextCapacity - 1, 'f'), {}},
        {{}, true, 1, "x", {}},
        {{"below"}, false, 1, "x", {"below"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before.empty() ? "(empty)" : c.before[0]);
        StackEntry* top = MakeStack<TypeParam>(c.before, kStringSize);
        TypeParam text[kPluginTextCapacity + 1] = {'x', 0};
        text[kPluginTextCapacity] = '#';
        const HostStack<TypeParam> stack{kStringSize, c.stackGiven ? &top : nullptr};
        EXPECT_EQ(PopStackString(stack, text, kPluginTextCapacity), c.result);
        EXPECT_EQ(stack_helpers::Narrow(text), c.popped);
        EXPECT_EQ(text[kPluginTextCapacity], '#');
        // The entry taken off is freed at once.
        EXPECT_EQ(stand_in::LiveEntries(), static_cast<int>(c.after.size()));
        EXPECT_EQ(DrainStack<TypeParam>(top), c.after);
    }
}

TYPED_TEST(NsisStack, PushPutsZeroFilledEntryOfStringSizePlusEightOnTop) {
    struct Case {
        int stringSize;
        bool stackGiven;
        bool memory;
        Texts after; // "ok" pushed over "below"
    };
    const Case cases[] = {
        {kStringSize, true, true, {"ok", "below"}},
        {2, true, true, {"o", "below"}}, // cut to the string size
        {kStringSize, false, true, {"below"}},
        {0, true, true, {"below"}}, // no room for a terminator
        {kStringSize, true, false, {"below"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stringSize << (c.stackGiven ? "" : ", no stack")
                                        << (c.memory ? "" : ", no memory"));
        StackEntry* top = MakeStack<TypeParam>({"below"}, kStringSize);
        stand_in::FailAllocations(!c.memory);
        PushStackString(HostStack<TypeParam>{c.stringSize, c.stackGiven ? &top : nullptr},
                        stack_helpers::Widen<TypeParam>("ok").c_str());
        stand_in::FailAllocations(false);
        if (c.after.size() == 2) {
            const auto size = static_cast<std::size_t>(c.stringSize);
            EXPECT_EQ(stand_in::LastAllocationSize(), size * sizeof(TypeParam) + 8);
            const TypeParam* text = EntryText<TypeParam>(top);
            for (std::size_t index = c.after[0].size(); index < size; ++index)
                ASSERT_EQ(text[index], 0) << index;
        }
        EXPECT_EQ(DrainStack<TypeParam>(top), c.after);
    }
}

TEST(NsisStackEntrySize, HugeStringSizesCannotWrapA32BitCount) {
    constexpr std::uint64_t k32BitMax = 0xFFFFFFFFu;
    struct Case {
        int stringSize;
        bool narrowFits;
        bool wideFits;
    } cases[] = {
        {1, true, true},           {8192, true, true},
        {0x7FFFFFFB, true, true},  // 0xFFFFFFFE bytes still count
        {0x7FFFFFFC, true, false}, // two bytes a character would wrap
        {0x7FFFFFFF, true, false}, {0, false, false},
        {-1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stringSize);
        EXPECT_EQ(StackEntryFits<char>(c.stringSize, k32BitMax), c.narrowFits);
        EXPECT_EQ(StackEntryFits<char16_t>(c.stringSize, k32BitMax), c.wideFits);
    }
}

} // namespace
} // namespace nsistumbra
