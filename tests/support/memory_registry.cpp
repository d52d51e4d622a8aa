#include "tests/support/registry_content.h"

#include "hiscores/collect/registry.h"

#include <cstring>
#include <map>
#include <string>

namespace {

struct Value {
    unsigned long type;
    std::string data;
};

// Each key's values by name; the keys in name order, as the registry lists them (it also
// ignores case, which no test needs).
std::map<std::string, std::map<std::string, Value>> keys;
long failingIndex = -2;
long failingStatus = 0;
int openKeys = 0;

} // namespace

namespace stand_in {

void ResetRegistry() {
    keys.clear();
    failingIndex = -2;
    openKeys = 0;
}

void AddKey(const std::string& path) {
    keys[path];
}

void SetValue(const std::string& keyPath, const std::string& name, unsigned long type,
              const std::string& data) {
    keys[keyPath][name] = {type, data};
}

bool KeyExists(const std::string& path) {
    return keys.count(path) != 0;
}

void FailEnumeration(long index, long status) {
    failingIndex = index;
    failingStatus = status;
}

int OpenKeyCount() {
    return openKeys;
}

} // namespace stand_in

namespace hiscores {

struct RegistryKey {
    std::string path;
};

RegistryKey* OpenOrCreateKey(const char* path) {
    stand_in::AddKey(path);
    ++openKeys;
    return new RegistryKey{path};
}

long EnumerateSubkey(RegistryKey* key, unsigned long index, char* name, unsigned long* nameSize) {
    if (failingIndex == -1 || failingIndex == static_cast<long>(index))
        return failingStatus;
    const std::string prefix = key->path + "\\";
    unsigned long seen = 0;
    for (const auto& [candidate, values] : keys) {
        if (candidate.compare(0, prefix.size(), prefix) != 0 ||
            candidate.find('\\', prefix.size()) != std::string::npos || seen++ != index)
            continue;
        const std::string child = candidate.substr(prefix.size());
        if (child.size() + 1 > *nameSize)
            return kRegistryMoreData;
        memcpy(name, child.c_str(), child.size() + 1);
        *nameSize = static_cast<unsigned long>(child.size());
        return kRegistryOk;
    }
    return kRegistryNoMoreItems;
}

long QueryValue(RegistryKey* key, const char* valueName, unsigned long* type, char* data,
                unsigned long* dataSize) {
    const std::map<std::string, Value>& values = keys[key->path];
    const auto found = values.find(valueName);
    if (found == values.end())
        return 2; // file not found
    const std::string& stored = found->second.data;
    *type = found->second.type;
    const unsigned long capacity = *dataSize;
    *dataSize = static_cast<unsigned long>(stored.size());
    if (stored.size() > capacity)
        return kRegistryMoreData;
    memcpy(data, stored.data(), stored.size());
    return kRegistryOk;
}

void CloseKey(RegistryKey* key) {
    --openKeys;
    delete key;
}

} // namespace hiscores
