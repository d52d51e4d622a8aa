#pragma once

#include "nsistumbra/nsis_stack.h"

#include <string>
#include <vector>

// Builds and reads NSIS stacks in the tests, with entries from the same allocator the
// plug-in uses, laid out as the installer lays them out.
namespace nsistumbra::stack_helpers {

template <class Char> std::basic_string<Char> Widen(const std::string& text) {
    return std::basic_string<Char>(text.begin(), text.end());
}

template <class Char> std::string Narrow(const Char* text) {
    std::string narrow;
    for (; *text != 0; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

// Entries listed from the top down.
template <class Char>
StackEntry* MakeStack(const std::vector<std::string>& topDown, int stringSize) {
    StackEntry* top = nullptr;
    for (auto entry = topDown.rbegin(); entry != topDown.rend(); ++entry) {
        HostStack<Char> stack{stringSize, &top};
        PushStackString(stack, Widen<Char>(*entry).c_str());
    }
    return top;
}

template <class Char> std::vector<std::string> ReadStack(StackEntry* top) {
    std::vector<std::string> topDown;
    for (; top != nullptr; top = top->next)
        topDown.push_back(Narrow(EntryText<Char>(top)));
    return topDown;
}

inline void FreeStack(StackEntry* top) {
    while (top != nullptr) {
        StackEntry* next = top->next;
        FreeStackEntry(top);
        top = next;
    }
}

} // namespace nsistumbra::stack_helpers
