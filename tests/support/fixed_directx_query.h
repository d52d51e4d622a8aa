#pragma once

#include "nsistumbra/dx_version.h"

// A stand-in for the whole DirectX version query: tests say what is installed, and see
// how the plug-in asked.
namespace stand_in {

void SetInstalledVersion(nsistumbra::PackedDxVersion packed, const char* text);

int DirectXQueryCount();
int LastQueryTextCapacity();

} // namespace stand_in
