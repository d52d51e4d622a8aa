#pragma once

#include "nsistumbra/bounded_string.h"
#include "nsistumbra/nsis_heap.h"
#include "nsistumbra/nsis_stack_entry.h"

#include <cstddef>
#include <cstdint>

// The NSIS string stack, for both character widths: the ANSI installer keeps 8-bit texts,
// the Unicode installers UTF-16 ones.
namespace nsistumbra {

static_assert(sizeof(StackEntry) <= kStackEntryHeaderBytes, "the text starts within the header");

template <class Char> Char* EntryText(StackEntry* entry) {
    return reinterpret_cast<Char*>(entry + 1);
}

// What the plug-in functions record from the host: the characters one text may hold (NUL
// included) and the location of the top pointer, absent before the first call.
template <class Char> struct HostStack {
    int stringSize = 0;
    StackEntry** top = nullptr;
};

// Every text the plug-in takes from or gives to NSIS fits in this many characters.
constexpr std::size_t kPluginTextCapacity = 100;

// Removes the top entry and copies its text, cut to capacity - 1 characters. Returns 0
// when an entry was removed, 1 when there was none.
template <class Char>
int PopStackString(const HostStack<Char>& stack, Char* destination, std::size_t capacity) {
    if (stack.top == nullptr || *stack.top == nullptr)
        return 1;
    StackEntry* entry = *stack.top;
    CopyBounded(destination, capacity, EntryText<Char>(entry));
    *stack.top = entry->next;
    FreeStackEntry(entry);
    return 0;
}

// Whether an entry of stringSize characters and the header bytes before them can be
// counted in maxBytes: in a 32-bit build a huge string size would wrap to a tiny allocation.
template <class Char> constexpr bool StackEntryFits(int stringSize, std::uint64_t maxBytes) {
    return stringSize >= 1 && static_cast<std::uint64_t>(stringSize) <=
                                  (maxBytes - kStackEntryHeaderBytes) / sizeof(Char);
}

// Puts the text on top, cut to string size - 1 characters. Nothing is pushed without a
// stack, without room for a terminator, when the entry's size cannot be counted, or when
// the entry cannot be allocated.
template <class Char> void PushStackString(const HostStack<Char>& stack, const Char* text) {
    if (stack.top == nullptr || !StackEntryFits<Char>(stack.stringSize, SIZE_MAX))
        return;
    const auto textCapacity = static_cast<std::size_t>(stack.stringSize);
    auto* entry = static_cast<StackEntry*>(
        AllocateStackEntry(textCapacity * sizeof(Char) + kStackEntryHeaderBytes));
    if (entry == nullptr)
        return;
    CopyBounded(EntryText<Char>(entry), textCapacity, text);
    entry->next = *stack.top;
    *stack.top = entry;
}

} // namespace nsistumbra
