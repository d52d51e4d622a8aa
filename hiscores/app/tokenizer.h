#pragma once

namespace hiscores {

inline constexpr int kTokenSlots = 100;

// Splits text in place into tokens after tokens[0], which the caller has set, and
// closes the table with a null entry. A token is a run of non-white-space characters,
// or the text between a double quote and the next one. Returns the number of tokens.
int TokenizeArguments(char* text, const char* (&tokens)[kTokenSlots]);

// True when a program started with argumentText runs silent: it holds at least one
// argument.
bool IsSilentRun(char* argumentText, const char* programPath);

} // namespace hiscores
