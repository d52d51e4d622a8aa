#include "hiscores/collect/registry.h"

#include <windows.h>

namespace hiscores {

RegistryKey* OpenOrCreateKey(const char* path) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    char noClass[] = "";
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_READ,
                        nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return reinterpret_cast<RegistryKey*>(key);
}

long EnumerateSubkey(RegistryKey* key, unsigned long index, char* name, unsigned long* nameSize) {
    DWORD size = *nameSize;
    const LONG status = RegEnumKeyExA(reinterpret_cast<HKEY>(key), index, name, &size, nullptr,
                                      nullptr, nullptr, nullptr);
    *nameSize = size;
    return status;
}

long QueryValue(RegistryKey* key, const char* valueName, unsigned long* type, char* data,
                unsigned long* dataSize) {
    DWORD valueType = 0;
    DWORD size = *dataSize;
    const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName, nullptr,
                                         &valueType, reinterpret_cast<BYTE*>(data), &size);
    *type = valueType;
    *dataSize = size;
    return status;
}

void CloseKey(RegistryKey* key) {
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

} // namespace hiscores
