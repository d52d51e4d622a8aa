#include "hiscores/common/feedback_platform.h"
#include "hiscores/common/feedback_win32.h"

namespace hiscores {

static_assert(kInfoBoxStyle == (MB_OK | MB_TOPMOST | MB_SETFOREGROUND | MB_TASKMODAL));
static_assert(kErrorBoxStyle == (kInfoBoxStyle | MB_ICONERROR));

namespace {

HWND FeedbackWindow = nullptr;

} // namespace

void SetFeedbackWindow(HWND window) {
    FeedbackWindow = window;
}

void ShowMessageBox(const char* caption, const char* text, unsigned style) {
    MessageBoxA(nullptr, text, caption, style);
}

void SetMainWindowTitle(const char* title) {
    SetWindowTextA(FeedbackWindow, title);
}

} // namespace hiscores
