#include "tests/support/fixed_directx_query.h"

namespace {

nsistumbra::Status installedStatus = nsistumbra::S_OK;
nsistumbra::PackedDxVersion installedPacked = 0;
int queries = 0;
int lastCapacity = 0;

} // namespace

namespace stand_in {

void SetInstalledVersion(nsistumbra::Status status, nsistumbra::PackedDxVersion packed) {
    installedStatus = status;
    installedPacked = packed;
    queries = 0;
    lastCapacity = 0;
}

int DirectXQueryCount() {
    return queries;
}
int LastQueryTextCapacity() {
    return lastCapacity;
}

} // namespace stand_in

namespace nsistumbra {

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
