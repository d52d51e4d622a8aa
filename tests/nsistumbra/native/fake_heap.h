#pragma once

#include <cstddef>

// A counting allocator for NSIS stack entries, which can be made to fail.
namespace nsistumbra::fake {

void ResetHeap();
void FailAllocations(bool fail);
int LiveEntries();
std::size_t LastAllocationSize();

} // namespace nsistumbra::fake
