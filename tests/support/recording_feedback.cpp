#include "tests/support/recording_feedback.h"

#include "hiscores/common/feedback_platform.h"
#include "hiscores/common/messages.h"

#include <cstring>

namespace {

// One call of the platform side, as it was made; a title has no caption and no style.
struct FeedbackCall {
    bool box;
    unsigned style;
    char caption[64];
    char text[4096];
};

FeedbackCall calls[stand_in::kMaxFeedbackEvents];
int callCount = 0;
char joined[stand_in::kMaxFeedbackEvents * 128];

void CopyText(char* destination, std::size_t size, const char* text) {
    strncpy(destination, text, size - 1);
    destination[size - 1] = '\0';
}

void Record(bool box, unsigned style, const char* caption, const char* text) {
    if (callCount == stand_in::kMaxFeedbackEvents)
        return;
    FeedbackCall& call = calls[callCount++];
    call.box = box;
    call.style = style;
    CopyText(call.caption, sizeof call.caption, caption);
    CopyText(call.text, sizeof call.text, text);
}

// A box with another caption or style is neither kind, so no test expecting the real
// ones passes with it.
const char* KindName(const FeedbackCall& call) {
    if (!call.box)
        return "status:";
    if (strcmp(call.caption, hiscores::kProgramTitle) != 0)
        return "box of another caption:";
    if (call.style == hiscores::kInfoBoxStyle)
        return "info:";
    return call.style == hiscores::kErrorBoxStyle ? "error:" : "box of another style:";
}

void Append(const char* text) {
    strncat(joined, text, sizeof joined - strlen(joined) - 1);
}

} // namespace

namespace hiscores {

void ShowMessageBox(const char* caption, const char* text, unsigned style) {
    Record(true, style, caption, text);
}

void SetMainWindowTitle(const char* title) {
    Record(false, 0, "", title);
}

} // namespace hiscores

namespace stand_in {

void ClearFeedback() {
    callCount = 0;
}

int FeedbackCount() {
    return callCount;
}

const char* FeedbackTexts(FeedbackKind kind) {
    static constexpr const char* kKindNames[] = {"info:", "error:", "status:"};
    joined[0] = '\0';
    bool first = true;
    for (int i = 0; i < callCount; ++i) {
        if (strcmp(KindName(calls[i]), kKindNames[static_cast<int>(kind)]) != 0)
            continue;
        if (!first)
            Append("|");
        Append(calls[i].text);
        first = false;
    }
    return joined;
}

std::string TitlesFor(std::initializer_list<const char*> suffixes) {
    std::string titles;
    for (const char* suffix : suffixes)
        titles += (titles.empty() ? "" : "|") + std::string(hiscores::kProgramTitle) + suffix;
    return titles;
}

const char* FeedbackSequence() {
    joined[0] = '\0';
    for (int i = 0; i < callCount; ++i) {
        if (i > 0)
            Append("|");
        Append(KindName(calls[i]));
        Append(calls[i].text);
    }
    return joined;
}

} // namespace stand_in
