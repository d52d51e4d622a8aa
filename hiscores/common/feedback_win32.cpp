#include "hiscores/common/feedback_platform.h"
#include "hiscores/common/main_window_handle.h"

namespace hiscores {

static_assert(kInfoBoxStyle == (MB_OK | MB_TOPMOST | MB_SETFOREGROUND | MB_TASKMODAL));
static_assert(kErrorBoxStyle == (kInfoBoxStyle | MB_ICONERROR));

HWND MainWindowHandle = nullptr;

void ShowMessageBox(const char* caption, const char* text, unsigned style) {
    MessageBoxA(nullptr, text, caption, style);
}

void SetMainWindowTitle(const char* title) {
    SetWindowTextA(MainWindowHandle, title);
}

} // namespace hiscores
