#pragma once

#include "nsistumbra/dx_version.h"

// The installed DirectX version, as the tests choose it.
namespace nsistumbra::fake {

void SetInstalledVersion(Status status, PackedDxVersion packed);

int QueryCount();
int LastTextCapacity();

} // namespace nsistumbra::fake
