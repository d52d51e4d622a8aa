#pragma once

#include <windows.h>

namespace hiscores {

// Shows the main dialog and runs its message loop until the dialog is destroyed.
int RunMainWindow(HINSTANCE instance);

} // namespace hiscores
