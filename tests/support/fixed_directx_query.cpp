#include "tests/support/fixed_directx_query.h"

#include "nsistumbra/bounded_string.h"

namespace {

nsistumbra::PackedDxVersion installedPacked = 0;
const char* installedText = "";
int queries = 0;
int lastCapacity = 0;

} // namespace

namespace stand_in {

void SetInstalledVersion(nsistumbra::PackedDxVersion packed, const char* text) {
    installedPacked = packed;
    installedText = text;
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

void QueryDirectXVersion(PackedDxVersion* packed, char* text, int textCapacity) {
    ++queries;
    lastCapacity = textCapacity;
    CopyBounded(text, static_cast<std::size_t>(textCapacity), installedText);
    *packed = installedPacked;
}

} // namespace nsistumbra
