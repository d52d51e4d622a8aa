#pragma once

#include <cstddef>

// A stand-in for the allocator behind NSIS stack entries: it counts the entries alive
// and can be made to fail.
namespace stand_in {

void ResetCountingHeap();
void FailAllocations(bool fail);
int LiveEntries();
std::size_t LastAllocationSize();

} // namespace stand_in
