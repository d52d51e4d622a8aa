#include "tests/support/registry_content.h"

#include <cstring>
#include <map>
#include <utility>

namespace {

// Each key's values by name, as type and data; the keys in name order, as the registry
// lists them (it also ignores case, which no test needs).
std::map<std::string, std::map<std::string, std::pair<unsigned long, std::string>>> keys;
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

void SetValue(const std::string& game, const std::string& name, unsigned long type,
              const std::string& data) {
    keys[kProductKey + ("\\" + game)][name] = {type, data};
}

bool ProductKeyExists() {
    return keys.count(kProductKey) != 0;
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
    keys[path];
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
    const auto& values = keys[key->path];
    const auto found = values.find(valueName);
    if (found == values.end())
        return 2; // file not found
    const auto& [storedType, stored] = found->second;
    *type = storedType;
    const bool fits = stored.size() <= *dataSize;
    *dataSize = static_cast<unsigned long>(stored.size());
    if (fits)
        memcpy(data, stored.data(), stored.size());
    return fits ? kRegistryOk : kRegistryMoreData;
}

void CloseKey(RegistryKey* key) {
    --openKeys;
    delete key;
}

} // namespace hiscores
