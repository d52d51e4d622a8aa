// Sequences of pushes and pops with texts and string sizes of any kind, in both
// character widths, over the counting allocator of the unit tests: the stack always
// holds what a model of it holds, no text is written past its entry or buffer, and every
// entry taken off is freed.
#include "nsistumbra/nsis_stack.h"

#include "fuzz/check.h"
#include "tests/support/counting_heap.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using nsistumbra::HostStack;
using nsistumbra::StackEntry;
// The texts a model stack holds, top last.
template <class Char> using Model = std::vector<std::basic_string<Char>>;

int ConsumeStringSize(FuzzedDataProvider& input) {
    // Mostly near the texts' lengths, sometimes as large as installers make it.
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<int>(-2, 310)
                               : input.ConsumeIntegralInRange<int>(-2, 70000);
}

template <class Char> void CheckMatches(StackEntry* top, const Model<Char>& model) {
    auto expected = model.rbegin();
    for (; top != nullptr; top = top->next, ++expected) {
        FUZZ_CHECK(expected != model.rend());
        FUZZ_CHECK(*expected == nsistumbra::EntryText<Char>(top));
    }
    FUZZ_CHECK(expected == model.rend());
    FUZZ_CHECK(stand_in::LiveEntries() == static_cast<int>(model.size()));
}

template <class Char> void Push(FuzzedDataProvider& input, StackEntry*& top, Model<Char>& model) {
    const int stringSize = ConsumeStringSize(input);
    const bool absentStack = input.ConsumeIntegralInRange<int>(0, 15) == 0;
    const bool outOfMemory = input.ConsumeIntegralInRange<int>(0, 15) == 0;
    const std::basic_string<Char> text = ConsumeCharacters<Char>(input, 300);
    const HostStack<Char> stack{stringSize, absentStack ? nullptr : &top};
    stand_in::FailAllocations(outOfMemory);
    nsistumbra::PushStackString(stack, text.c_str());
    stand_in::FailAllocations(false);
    if (absentStack || outOfMemory || stringSize < 1)
        return;
    FUZZ_CHECK(stand_in::LastAllocationSize() ==
               static_cast<std::size_t>(stringSize) * sizeof(Char) + 8);
    model.push_back(
        text.substr(0, text.find(Char(0))).substr(0, static_cast<std::size_t>(stringSize) - 1));
}

template <class Char> void Pop(FuzzedDataProvider& input, StackEntry*& top, Model<Char>& model) {
    const auto capacity =
        input.ConsumeIntegralInRange<std::size_t>(0, 2 * nsistumbra::kPluginTextCapacity);
    const bool absentStack = input.ConsumeIntegralInRange<int>(0, 15) == 0;
    const HostStack<Char> stack{ConsumeStringSize(input), absentStack ? nullptr : &top};
    HeapBuffer<Char> destination(capacity);
    const int result = nsistumbra::PopStackString(stack, destination.data, capacity);
    if (absentStack || model.empty()) {
        FUZZ_CHECK(result == 1 && destination.Unwritten());
    } else {
        FUZZ_CHECK(result == 0);
        if (capacity > 0)
            FUZZ_CHECK(model.back().substr(0, capacity - 1) == destination.data);
        model.pop_back();
    }
}

template <class Char> void Run(FuzzedDataProvider& input) {
    StackEntry* top = nullptr;
    Model<Char> model;
    while (input.remaining_bytes() > 0) {
        (input.ConsumeBool() ? Push<Char> : Pop<Char>)(input, top, model);
        CheckMatches(top, model);
    }
    // What the installer would take off at the end.
    Char text[nsistumbra::kPluginTextCapacity];
    while (nsistumbra::PopStackString(HostStack<Char>{1024, &top}, text,
                                      nsistumbra::kPluginTextCapacity) == 0)
        model.pop_back();
    FUZZ_CHECK(top == nullptr && model.empty());
    FUZZ_CHECK(stand_in::LiveEntries() == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    stand_in::ResetCountingHeap();
    (input.ConsumeBool() ? Run<char> : Run<char16_t>)(input);
    return 0;
}
