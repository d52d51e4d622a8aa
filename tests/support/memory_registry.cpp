#include "tests/support/memory_registry.h"

#include "hiscores/collect/registry.h"

#include <cstring>
#include <string>
#include <vector>

namespace hiscores {

struct RegistryKey {
    std::string path;
};

} // namespace hiscores

namespace {

struct Value {
    std::string key;
    std::string name;
    unsigned long type;
    std::string data;
};

std::vector<std::string> keys;
std::vector<Value> values;
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
    values.push_back({keyPath, name, type, data});
}

bool KeyExists(const std::string& path) {
    for (const std::string& key : keys)
        if (key == path)
            return true;
    return false;
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
            candidate.find('\\', prefix.size()) != std::string::npos)
            continue;
        if (seen++ != index)
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
    for (const Value& value : values) {
        if (value.key != key->path || value.name != valueName)
            continue;
        *type = value.type;
        const unsigned long capacity = *dataSize;
        *dataSize = static_cast<unsigned long>(value.data.size());
        if (value.data.size() > capacity)
            return kRegistryMoreData;
        memcpy(data, value.data.data(), value.data.size());
        return kRegistryOk;
    }
    return 2; // file not found
}

void CloseKey(RegistryKey* key) {
    --openKeys;
    delete key;
}

} // namespace hiscores
