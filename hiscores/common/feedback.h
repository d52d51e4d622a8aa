#pragma once

// The three ways the program talks to the user. Every other part of the program goes
// through them; while SilentMode is set they do nothing.
namespace hiscores {

// Set once at start, before anything can be shown.
extern bool SilentMode;

void ShowInfo(const char* format, ...);
void ShowError(const char* format, ...);
// Sets the main window's title to kProgramTitle followed by the formatted suffix.
void SetStatus(const char* format, ...);

} // namespace hiscores
