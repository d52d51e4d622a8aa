#include "tests/support/recording_feedback.h"

#include "hiscores/common/feedback_platform.h"
#include "hiscores/common/messages.h"

namespace {

stand_in::Feedback shown;

} // namespace

namespace hiscores {

// A box with another caption or style is neither kind, so no test expecting the real
// ones passes with it.
void ShowMessageBox(const char* caption, const char* text, unsigned style) {
    const char* kind = style == kInfoBoxStyle    ? "info:"
                       : style == kErrorBoxStyle ? "error:"
                                                 : "box of another style:";
    shown.push_back((caption == std::string(kProgramTitle) ? kind : "box of another caption:") +
                    std::string(text));
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

std::string Info(const std::string& text) {
    return "info:" + text;
}

std::string Error(const std::string& text) {
    return "error:" + text;
}

std::string Status(const char* suffix) {
    return std::string("status:") + hiscores::kProgramTitle + suffix;
}

} // namespace stand_in
