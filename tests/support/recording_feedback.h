#pragma once

#include <cstdio>
#include <string>
#include <vector>

// A stand-in for the message boxes and the title: it remembers what the program asked
// to show, so tests can assert the exact texts in their order.
namespace stand_in {

// One entry a call: "info:text" or "error:text" for a box of that style with the
// program's title as caption, "status:title" for a title set.
using Feedback = std::vector<std::string>;

void ClearFeedback();
const Feedback& Shown();

// The entries the program's calls give.
std::string Info(const std::string& text);
std::string Error(const std::string& text);
// The title that shows this status suffix.
std::string Status(const char* suffix);

// A text the program makes from format and the arguments.
template <typename... Arguments> std::string Formatted(const char* format, Arguments... arguments) {
    char text[4096];
    snprintf(text, sizeof text, format, arguments...);
    return text;
}

} // namespace stand_in
