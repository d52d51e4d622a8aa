#pragma once

#include <string>
#include <vector>

// An in-memory stand-in for the registry below HKEY_LOCAL_MACHINE, with the same
// open-or-create, enumerate-by-index and typed-value behaviour, and a way to make
// enumeration fail.
namespace stand_in {

void ResetMemoryRegistry();
void AddKey(const std::string& path);
void SetValue(const std::string& keyPath, const std::string& name, unsigned long type,
              const std::string& data);
// A game's records as the games store them: string values "_rek_1", "_rek_2", ... of
// its key below the product key, each with its terminator.
void SetRecords(const std::string& game, const std::vector<std::string>& records);
bool KeyExists(const std::string& path);
// Makes enumeration of the given index (or of every index, with -1) fail with status.
void FailEnumeration(long index, long status);
// How many keys are open now; a leak shows as a count above 0 after a run.
int OpenKeyCount();

} // namespace stand_in
