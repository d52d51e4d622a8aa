#pragma once

#include <windows.h>

namespace hiscores {

// The dialog whose title shows the status; stored by the dialog procedure.
extern HWND MainWindowHandle;

} // namespace hiscores
