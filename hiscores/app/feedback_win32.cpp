#include "hiscores/app/feedback.h"
#include "hiscores/app/main_window_handle.h"
#include "hiscores/text/format_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace hiscores {

bool SilentMode = false;
HWND MainWindowHandle = nullptr;

namespace {

constexpr UINT kInfoBoxStyle = MB_OK | MB_TOPMOST | MB_SETFOREGROUND | MB_TASKMODAL;

void ShowBox(UINT style, const char* format, va_list arguments) {
    char message[kMessageBufferSize];
    FormatTextList(message, sizeof message, format, arguments);
    MessageBoxA(nullptr, message, kProgramTitle, style);
}

} // namespace

void ShowInfo(const char* format, ...) {
    if (SilentMode)
        return;
    va_list arguments;
    va_start(arguments, format);
    ShowBox(kInfoBoxStyle, format, arguments);
    va_end(arguments);
}

void ShowError(const char* format, ...) {
    if (SilentMode)
        return;
    va_list arguments;
    va_start(arguments, format);
    ShowBox(kInfoBoxStyle | MB_ICONERROR, format, arguments);
    va_end(arguments);
}

void SetStatus(const char* format, ...) {
    if (SilentMode)
        return;
    char title[kMessageBufferSize];
    const size_t prefixLength = strlen(kProgramTitle);
    memcpy(title, kProgramTitle, prefixLength + 1);
    va_list arguments;
    va_start(arguments, format);
    FormatTextList(title + prefixLength, sizeof title - prefixLength, format, arguments);
    va_end(arguments);
    SetWindowTextA(MainWindowHandle, title);
}

} // namespace hiscores
