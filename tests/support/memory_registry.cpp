#include "tests/support/memory_registry.h"

#include "hiscores/collect/registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Value {
    unsigned long type;
    std::string data;
};

std::vector<std::string> keys; // in the order they were made, which enumeration keeps
std::map<std::pair<std::string, std::string>, Value> values; // by key path and value name
long failingIndex = -2;
long failingStatus = 0;
int openKeys = 0;

} // namespace

namespace stand_in {

void ResetMemoryRegistry() {
    keys.clear();
    values.clear();
    failingIndex = -2;
    openKeys = 0;
}

void AddKey(const std::string& path) {
    if (!KeyExists(path))
        keys.push_back(path);
}

void SetValue(const std::string& keyPath, const std::string& name, unsigned long type,
              const std::string& data) {
    AddKey(keyPath);
    values[{keyPath, name}] = {type, data};
}

void SetRecords(const std::string& game, const std::vector<std::string>& records) {
    for (size_t i = 0; i < records.size(); ++i)
        SetValue("Software\\Tumbra\\" + game, "_rek_" + std::to_string(i + 1),
                 hiscores::kRegistryStringType, records[i] + '\0');
}

bool KeyExists(const std::string& path) {
    return std::find(keys.begin(), keys.end(), path) != keys.end();
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
    for (const std::string& candidate : keys) {
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
    const auto found = values.find({key->path, valueName});
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
