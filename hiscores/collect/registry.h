#pragma once

// The few registry operations the collection needs, below HKEY_LOCAL_MACHINE. The
// Windows build links the real registry; the native tests link an in-memory stand-in, and
// the collection's tables run over both.
namespace hiscores {

struct RegistryKey;

// Status codes as the registry gives them.
inline constexpr long kRegistryOk = 0;
inline constexpr long kRegistryMoreData = 234;
inline constexpr long kRegistryNoMoreItems = 259;
inline constexpr unsigned long kRegistryStringType = 1;

// Opens the key at path below HKEY_LOCAL_MACHINE for reading, creating it when it is
// missing; nullptr when that fails. Reading is all it asks for: a limited account may only
// read the machine's keys.
RegistryKey* OpenOrCreateKey(const char* path);
// The name of the subkey at index; *nameSize is the buffer's size in, the name's
// length out.
long EnumerateSubkey(RegistryKey* key, unsigned long index, char* name, unsigned long* nameSize);
// The value's type and data; *dataSize is the buffer's size in, the data's size out.
long QueryValue(RegistryKey* key, const char* valueName, unsigned long* type, char* data,
                unsigned long* dataSize);
void CloseKey(RegistryKey* key);

} // namespace hiscores
