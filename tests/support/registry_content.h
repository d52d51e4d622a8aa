#pragma once

#include "hiscores/collect/registry.h"

#include <string>
#include <vector>

// The product key and the games' keys below it as a test sets them up: natively an
// in-memory stand-in (memory_registry.cpp) that opens, lists and reads keys as Windows
// does, under Wine the real registry (real_registry_win32.cpp).
namespace stand_in {

inline constexpr char kProductKey[] = "Software\\Tumbra"; // below HKEY_LOCAL_MACHINE

// Leaves no product key, nor a fault the stand-in was told to inject.
void ResetRegistry();
// A value of the game's key, the key made when missing.
void SetValue(const std::string& game, const std::string& name, unsigned long type,
              const std::string& data);
bool ProductKeyExists();

// A game's records as the games store them: string values "_rek_1", "_rek_2", ..., each
// with its terminator.
inline void SetRecords(const std::string& game, const std::vector<std::string>& records) {
    for (size_t i = 0; i < records.size(); ++i)
        SetValue(game, "_rek_" + std::to_string(i + 1), hiscores::kRegistryStringType,
                 records[i] + '\0');
}

// The real registry's own, so under Wine only: access rights.
#ifdef _WIN32
// The product key and every game key below it readable only, as a limited account finds
// them; ResetRegistry gives the access back.
void LetOnlyRead();
#endif

// The in-memory stand-in's own, so native only: a fault to inject and a leak to count.
#ifndef _WIN32
// Makes enumeration of the given index (or of every index, with -1) fail with status.
void FailEnumeration(long index, long status);
// How many keys are open now; a leak shows as a count above 0 after a run.
int OpenKeyCount();
#endif

} // namespace stand_in
