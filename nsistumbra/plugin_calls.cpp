#include "nsistumbra/plugin_calls.h"

namespace nsistumbra {

PackedDxVersion QueryInstalledVersion(char (&text)[kPluginTextCapacity]) {
    PackedDxVersion installed = 0;
    QueryDirectXVersion(&installed, text, kPluginTextCapacity - 1);
    return installed;
}

int NeedDxVer2(const char* requirement) {
    char version[kPluginTextCapacity];
    const PackedDxVersion installed = QueryInstalledVersion(version);
    if (installed == 0)
        return -1;
    return installed >= ReadHexRequirement(requirement) ? 1 : 0;
}

} // namespace nsistumbra
