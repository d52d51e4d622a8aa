#pragma once

#include "hiscores/collect/registry.h"

#include <string>
#include <vector>

// The registry below HKEY_LOCAL_MACHINE as a test sets it up: an in-memory stand-in
// (memory_registry.cpp) that opens, lists and reads keys as Windows does, with a way to
// make enumeration fail.
namespace stand_in {

// Leaves no product key, nor a fault the stand-in was told to inject.
void ResetRegistry();
void AddKey(const std::string& path);
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

// Makes enumeration of the given index (or of every index, with -1) fail with status.
void FailEnumeration(long index, long status);
// How many keys are open now; a leak shows as a count above 0 after a run.
int OpenKeyCount();

} // namespace stand_in
