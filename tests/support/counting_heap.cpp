#include "tests/support/counting_heap.h"

#include "nsistumbra/nsis_heap.h"

#include <cstdlib>

namespace {

bool failing = false;
int live = 0;
std::size_t lastSize = 0;

} // namespace

namespace stand_in {

void ResetCountingHeap() {
    failing = false;
    live = 0;
    lastSize = 0;
}

void FailAllocations(bool fail) {
    failing = fail;
}
int LiveEntries() {
    return live;
}
std::size_t LastAllocationSize() {
    return lastSize;
}

} // namespace stand_in

namespace nsistumbra {

void* AllocateStackEntry(std::size_t bytes) {
    if (failing)
        return nullptr;
    lastSize = bytes;
    ++live;
    return std::calloc(1, bytes);
}

void FreeStackEntry(void* entry) {
    --live;
    std::free(entry);
}

} // namespace nsistumbra
