#include "hiscores/common/feedback.h"

#include "formatting/format_text.h"
#include "hiscores/common/feedback_platform.h"
#include "hiscores/common/messages.h"
#include "hiscores/common/sizes.h"

#include <cstdarg>

namespace hiscores {

bool SilentMode = false;

namespace {

void ShowBox(unsigned style, const char* format, va_list arguments) {
    if (SilentMode)
        return;
    char message[kMessageBufferSize];
    formatting::FormatTextList(message, sizeof message, format, arguments);
    ShowMessageBox(kProgramTitle, message, style);
}

} // namespace

void ShowInfo(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    ShowBox(kInfoBoxStyle, format, arguments);
    va_end(arguments);
}

void ShowError(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    ShowBox(kErrorBoxStyle, format, arguments);
    va_end(arguments);
}

void SetStatus(const char* format, ...) {
    if (SilentMode)
        return;
    char title[kMessageBufferSize];
    const int prefixLength = formatting::FormatText(title, sizeof title, "%s", kProgramTitle);
    va_list arguments;
    va_start(arguments, format);
    formatting::FormatTextList(title + prefixLength, sizeof title - prefixLength, format,
                               arguments);
    va_end(arguments);
    SetMainWindowTitle(title);
}

} // namespace hiscores
