#pragma once

// The three ways the program talks to the user. Every other part of the program goes
// through them; while SilentMode is set they do nothing.
namespace hiscores {

inline constexpr char kProgramTitle[] = "Tumbra Hiscores";
inline constexpr int kMessageBufferSize = 4096;

extern bool SilentMode;

void ShowInfo(const char* format, ...);
void ShowError(const char* format, ...);
// Sets the main window's title to kProgramTitle followed by the formatted suffix.
void SetStatus(const char* format, ...);

} // namespace hiscores
