#include "nsistumbra/plugin_calls.h"

namespace nsistumbra {

Verdict DecideVerdict(Status query, PackedDxVersion installed, PackedDxVersion required) {
    if (Failed(query))
        return Verdict::Err2;
    return installed < required ? Verdict::Sorry : Verdict::Ok;
}

int DecideNeedDxVer2(Status query, PackedDxVersion installed, PackedDxVersion required) {
    if (Failed(query) || installed == 0)
        return -1;
    return installed >= required ? 1 : 0;
}

int NeedDxVer2(const char* requirement) {
    const PackedDxVersion required = ReadHexRequirement(requirement);
    // The text is formatted (capacity 99 of 100) and dropped: the plug-in always has.
    char versionText[kPluginTextCapacity];
    PackedDxVersion installed = 0;
    const Status query = QueryDirectXVersion(&installed, versionText, kPluginTextCapacity - 1);
    return DecideNeedDxVer2(query, installed, required);
}

} // namespace nsistumbra
