#pragma once

#include "hiscores/collect/registry.h"
#include "hiscores/common/sizes.h"

namespace hiscores {

inline constexpr char kProductKeyPath[] = "Software\\Tumbra";
inline constexpr char kRecordValueFormat[] = "_rek_%d";
inline constexpr int kKeyPathSize = 1000;
inline constexpr int kKeyNameSize = 1000;
inline constexpr int kValueNameSize = 100;
inline constexpr int kRecordSize = 10000;

// The game keys' names in enumeration order; the collection's only heap memory.
struct GameKeyList {
    char** names = nullptr;
    int count = 0;
    int capacity = 0;
};

void FreeGameKeyList(GameKeyList& list);

// Replaces the list's contents with the product key's subkey names. When the product
// key cannot be opened the list stays as it was.
void ListGameKeys(GameKeyList& list);

// The product key itself (subkeyName nullptr) or one game's key, created when missing.
RegistryKey* OpenProductKey(const char* subkeyName);

// Reads a REG_SZ value of a game key into data, NUL-terminated; *size is the buffer's
// size in. Returns data, or nullptr when the value is missing, of another type, or
// does not fit with its terminator.
char* ReadStringValue(const char* valueName, char* data, unsigned long* size,
                      const char* subkeyName);

// Joins the records of every game into text, in enumeration order and record number
// order, each followed by a line feed. Collection stops at the first record that would
// not fit; the count is always the number of records in the text.
int CollectHiscores(char (&text)[kHiscoreTextSize]);

} // namespace hiscores
