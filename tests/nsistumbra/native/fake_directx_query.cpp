#include "tests/nsistumbra/native/fake_directx_query.h"

namespace nsistumbra {

namespace {

Status installedStatus = S_OK;
PackedDxVersion installedPacked = 0;
int queries = 0;
int lastCapacity = 0;

} // namespace

namespace fake {

void SetInstalledVersion(Status status, PackedDxVersion packed) {
    installedStatus = status;
    installedPacked = packed;
    queries = 0;
    lastCapacity = 0;
}

int QueryCount() {
    return queries;
}
int LastTextCapacity() {
    return lastCapacity;
}

} // namespace fake

Status QueryDirectXVersion(PackedDxVersion* packed, char* text, int textCapacity) {
    ++queries;
    lastCapacity = textCapacity;
    if (text != nullptr && textCapacity > 0)
        text[0] = '\0';
    if (packed != nullptr)
        *packed = Succeeded(installedStatus) ? installedPacked : 0;
    return installedStatus;
}

} // namespace nsistumbra
