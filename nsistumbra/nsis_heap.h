#pragma once

#include <cstddef>

// The allocator behind NSIS stack entries. Windows uses GlobalAlloc and GlobalFree, as
// the installer does for its own entries; the tests use a counting stand-in.
namespace nsistumbra {

// A zero-filled block, or null when it cannot be allocated.
void* AllocateStackEntry(std::size_t bytes);

void FreeStackEntry(void* entry);

} // namespace nsistumbra
