#pragma once

#include <windows.h>

// Turns a live static text control into a link label: dark blue text, the hand pointer,
// an underline while the pointer is over it, and its clicks reported to the parent as
// WM_COMMAND with the control's id. All state lives in window properties on the label and
// its parent, and each window undoes its part when it is destroyed.
namespace hiscores {

inline constexpr COLORREF kHyperlinkColor = RGB(0, 0, 192);

// Converts the control once; a second call on the same control changes nothing.
BOOL MakeHyperlink(HWND control);
BOOL MakeHyperlinkById(HWND dialog, int controlId);

} // namespace hiscores
