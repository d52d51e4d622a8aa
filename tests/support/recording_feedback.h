#pragma once

#include <initializer_list>
#include <string>

// A stand-in for the message boxes and the title: it remembers what the program asked
// to show, so tests can assert the exact texts.
namespace stand_in {

enum class FeedbackKind { Info, Error, Status };

inline constexpr int kMaxFeedbackEvents = 32;

void ClearFeedback();
int FeedbackCount();
// The texts of one kind, joined with '|' in the order they were shown: the boxes of
// that style shown with the program's title as caption, or the window titles set.
const char* FeedbackTexts(FeedbackKind kind);
// Every event in order as "info:text", "error:text" or "status:title", joined with '|'.
const char* FeedbackSequence();
// The window titles that show these status suffixes, joined as FeedbackTexts joins them.
std::string TitlesFor(std::initializer_list<const char*> suffixes);

} // namespace stand_in
