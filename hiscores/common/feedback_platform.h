#pragma once

// What the feedback needs from the windowing system. The Windows build shows real boxes
// and titles; the tests record the calls.
namespace hiscores {

// Message box styles: one OK button, topmost, brought to the foreground, modal for the
// whole task; the error box adds the error icon.
inline constexpr unsigned kInfoBoxStyle = 0x52000;
inline constexpr unsigned kErrorBoxStyle = 0x52010;

// A box with no owner window; returns when the user has closed it.
void ShowMessageBox(const char* caption, const char* text, unsigned style);
void SetMainWindowTitle(const char* title);

} // namespace hiscores
