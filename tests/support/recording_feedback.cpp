#include "tests/support/recording_feedback.h"

#include "hiscores/app/feedback.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace hiscores {

bool SilentMode = false;

namespace {

testing::FeedbackEvent events[testing::kMaxFeedbackEvents];
int eventCount = 0;
char joined[testing::kMaxFeedbackEvents * 64];

void Record(testing::FeedbackKind kind, const char* format, va_list arguments) {
    if (SilentMode || eventCount == testing::kMaxFeedbackEvents)
        return;
    testing::FeedbackEvent& event = events[eventCount++];
    event.kind = kind;
    vsnprintf(event.text, sizeof event.text, format, arguments);
}

} // namespace

#define TUMBRA_RECORD(kind)                                                                        \
    va_list arguments;                                                                             \
    va_start(arguments, format);                                                                   \
    Record(kind, format, arguments);                                                               \
    va_end(arguments)

void ShowInfo(const char* format, ...) {
    TUMBRA_RECORD(testing::FeedbackKind::Info);
}
void ShowError(const char* format, ...) {
    TUMBRA_RECORD(testing::FeedbackKind::Error);
}
void SetStatus(const char* format, ...) {
    TUMBRA_RECORD(testing::FeedbackKind::Status);
}

namespace testing {

void ClearFeedback() {
    eventCount = 0;
}
int FeedbackCount() {
    return eventCount;
}
const FeedbackEvent& FeedbackAt(int index) {
    return events[index];
}

const char* FeedbackTexts(FeedbackKind kind) {
    joined[0] = '\0';
    for (int i = 0; i < eventCount; ++i) {
        if (events[i].kind != kind)
            continue;
        if (joined[0] != '\0')
            strncat(joined, "|", sizeof joined - strlen(joined) - 1);
        strncat(joined, events[i].text, sizeof joined - strlen(joined) - 1);
    }
    return joined;
}

} // namespace testing
} // namespace hiscores
