#include "nsistumbra/nsis_stack.h"

#include "tests/nsistumbra/native/stack_helpers.h"
#include "tests/support/counting_heap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace nsistumbra {
namespace {

using stack_helpers::MakeStack;
using stack_helpers::Narrow;
using stack_helpers::ReadStack;
using stack_helpers::Widen;

constexpr int kStringSize = 1024;

// The same protocol serves the ANSI installer and, with 16-bit texts, the Unicode ones.
template <class Char> class NsisStack : public testing::Test {
  protected:
    void SetUp() override { stand_in::ResetCountingHeap(); }
    void TearDown() override {
        stack_helpers::FreeStack(top);
        EXPECT_EQ(stand_in::LiveEntries(), 0);
    }
    StackEntry* top = nullptr;
    HostStack<Char> stack{kStringSize, &top};
};

using CharTypes = testing::Types<char, char16_t>;
TYPED_TEST_SUITE(NsisStack, CharTypes);

TYPED_TEST(NsisStack, PopFromEmptyOrAbsentStackChangesNothing) {
    TypeParam text[4] = {'x', 0};
    EXPECT_EQ(PopStackString(this->stack, text, 4), 1);
    EXPECT_EQ(PopStackString(HostStack<TypeParam>{kStringSize, nullptr}, text, 4), 1);
    EXPECT_EQ(Narrow(text), "x");
}

TYPED_TEST(NsisStack, PopRemovesTopEntryAndFreesIt) {
    this->top = MakeStack<TypeParam>({"90003", "below"}, kStringSize);
    TypeParam text[kPluginTextCapacity];
    EXPECT_EQ(PopStackString(this->stack, text, kPluginTextCapacity), 0);
    EXPECT_EQ(Narrow(text), "90003");
    EXPECT_EQ(ReadStack<TypeParam>(this->top), std::vector<std::string>{"below"});
    EXPECT_EQ(stand_in::LiveEntries(), 1);
}

TYPED_TEST(NsisStack, PopCutsLongEntryToBuffer) {
    this->top = MakeStack<TypeParam>({std::string(150, 'f')}, kStringSize);
    TypeParam text[kPluginTextCapacity + 1];
    text[kPluginTextCapacity] = '#';
    EXPECT_EQ(PopStackString(this->stack, text, kPluginTextCapacity), 0);
    EXPECT_EQ(Narrow(text), std::string(kPluginTextCapacity - 1, 'f'));
    EXPECT_EQ(text[kPluginTextCapacity], '#');
    EXPECT_EQ(this->top, nullptr);
}

TYPED_TEST(NsisStack, PushPutsZeroFilledEntryOfStringSizePlusEightOnTop) {
    this->top = MakeStack<TypeParam>({"below"}, kStringSize);
    PushStackString(this->stack, Widen<TypeParam>("ok").c_str());
    EXPECT_EQ(stand_in::LastAllocationSize(), kStringSize * sizeof(TypeParam) + 8);
    EXPECT_EQ(ReadStack<TypeParam>(this->top), (std::vector<std::string>{"ok", "below"}));
    const TypeParam* text = EntryText<TypeParam>(this->top);
    for (int index = 2; index < kStringSize; ++index)
        ASSERT_EQ(text[index], 0) << index;
}

TYPED_TEST(NsisStack, PushCutsTextToStringSize) {
    this->stack.stringSize = 3;
    PushStackString(this->stack, Widen<TypeParam>("sorry").c_str());
    EXPECT_EQ(ReadStack<TypeParam>(this->top), std::vector<std::string>{"so"});
}

TYPED_TEST(NsisStack, PushWithoutStackRoomOrMemoryPushesNothing) {
    PushStackString(HostStack<TypeParam>{kStringSize, nullptr}, Widen<TypeParam>("ok").c_str());
    this->stack.stringSize = 0;
    PushStackString(this->stack, Widen<TypeParam>("ok").c_str());
    EXPECT_EQ(stand_in::LiveEntries(), 0);

    this->stack.stringSize = kStringSize;
    this->top = MakeStack<TypeParam>({"below"}, kStringSize);
    stand_in::FailAllocations(true);
    PushStackString(this->stack, Widen<TypeParam>("ok").c_str());
    stand_in::FailAllocations(false);
    EXPECT_EQ(ReadStack<TypeParam>(this->top), std::vector<std::string>{"below"});
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
