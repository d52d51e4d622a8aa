#pragma once

#include "hiscores/collect/registry.h"

#include <string>
#include <vector>

// The registry below HKEY_LOCAL_MACHINE as a test sets it up: natively an in-memory
// stand-in (memory_registry.cpp) that opens, lists and reads keys as Windows does, under
// Wine the real registry (real_registry_win32.cpp).
namespace stand_in {

// Leaves no product key, nor a fault the stand-in was told to inject.
void ResetRegistry();
void SetValue(const std::string& keyPath, const std::string& name, unsigned long type,
              const std::string& data);
bool KeyExists(const std::string& path);

// A game's records as the games store them: string values "_rek_1", "_rek_2", ... of
// its key below the product key, each with its terminator.
inline void SetRecords(const std::string& game, const std::vector<std::string>& records) {
    for (size_t i = 0; i < records.size(); ++i)
        SetValue("Software\\Tumbra\\" + game, "_rek_" + std::to_string(i + 1),
                 hiscores::kRegistryStringType, records[i] + '\0');
}

// What only the table of enumeration faults uses, native only: a key without values, a
// fault to inject and a leak to count, the last two the in-memory stand-in's own.
#ifndef _WIN32
void AddKey(const std::string& path);
// Makes enumeration of the given index (or of every index, with -1) fail with status.
void FailEnumeration(long index, long status);
// How many keys are open now; a leak shows as a count above 0 after a run.
int OpenKeyCount();
#endif

} // namespace stand_in
