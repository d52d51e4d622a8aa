#pragma once

// A stand-in for the message boxes and the title: it remembers what the program asked
// to show, so tests can assert the exact texts.
namespace hiscores::testing {

enum class FeedbackKind { Info, Error, Status };

struct FeedbackEvent {
    FeedbackKind kind;
    char text[4096];
};

inline constexpr int kMaxFeedbackEvents = 32;

void ClearFeedback();
int FeedbackCount();
const FeedbackEvent& FeedbackAt(int index);
// The texts of one kind, joined with '|' in the order they were shown.
const char* FeedbackTexts(FeedbackKind kind);

} // namespace hiscores::testing
