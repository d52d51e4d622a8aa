#pragma once

#include "nsistumbra/nsis_stack.h"

#include <string>
#include <vector>

// Builds and reads NSIS stacks in the tests, laid out by the plug-in's own header, with
// entries from the allocator it is linked with: a counting stand-in natively, GlobalAlloc
// under Wine, as the installer makes them.
namespace nsistumbra::stack_helpers {

template <class Char> std::basic_string<Char> Widen(const std::string& text) {
    return std::basic_string<Char>(text.begin(), text.end());
}

template <class Char> std::string Narrow(const Char* text) {
    return std::string(text, text + std::char_traits<Char>::length(text));
}

// Entries listed from the top down.
template <class Char>
StackEntry* MakeStack(const std::vector<std::string>& topDown, int stringSize) {
    StackEntry* top = nullptr;
    for (auto entry = topDown.rbegin(); entry != topDown.rend(); ++entry)
        PushStackString(HostStack<Char>{stringSize, &top}, Widen<Char>(*entry).c_str());
    return top;
}

// Takes every entry off, top first, and frees it.
template <class Char> std::vector<std::string> DrainStack(StackEntry*& top) {
    std::vector<std::string> topDown;
    while (top != nullptr) {
        StackEntry* entry = top;
        topDown.push_back(Narrow(EntryText<Char>(entry)));
        top = entry->next;
        FreeStackEntry(entry);
    }
    return topDown;
}

} // namespace nsistumbra::stack_helpers
