#include "tests/support/recording_feedback.h"

#include "hiscores/common/feedback_platform.h"
#include "hiscores/common/messages.h"

namespace {

stand_in::Feedback shown;

// A box with another caption or style is neither kind, so no test expecting the real
// ones passes with it.
std::string BoxKind(const std::string& caption, unsigned style) {
    if (caption != hiscores::kProgramTitle)
        return "box of another caption:";
    if (style == hiscores::kInfoBoxStyle)
        return "info:";
    return style == hiscores::kErrorBoxStyle ? "error:" : "box of another style:";
}

} // namespace

namespace hiscores {

void ShowMessageBox(const char* caption, const char* text, unsigned style) {
    shown.push_back(BoxKind(caption, style) + text);
}

void SetMainWindowTitle(const char* title) {
    shown.push_back(std::string("status:") + title);
}

} // namespace hiscores

namespace stand_in {

void ClearFeedback() {
    shown.clear();
}

const Feedback& Shown() {
    return shown;
}

std::string Info(const char* text) {
    return std::string("info:") + text;
}

std::string Error(const char* text) {
    return std::string("error:") + text;
}

std::string Status(const char* suffix) {
    return std::string("status:") + hiscores::kProgramTitle + suffix;
}

} // namespace stand_in
