#pragma once

#include <windows.h>

namespace hiscores {

// The window whose title shows the status: set once, as the window is created and
// before it shows its first status.
void SetFeedbackWindow(HWND window);

} // namespace hiscores
