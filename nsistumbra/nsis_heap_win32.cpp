#include <windows.h>

#include "nsistumbra/nsis_heap.h"

namespace nsistumbra {

void* AllocateStackEntry(std::size_t bytes) {
    return GlobalAlloc(GPTR, bytes);
}

void FreeStackEntry(void* entry) {
    GlobalFree(entry);
}

} // namespace nsistumbra
