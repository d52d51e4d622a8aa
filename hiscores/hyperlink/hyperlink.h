#pragma once

#include <windows.h>

// Turns a live static text control into a link label: dark blue text, the hand pointer,
// an underline while the pointer is over it, and its clicks reported to the parent as
// WM_COMMAND with the control's id. All state lives in window properties on the label and
// its parent, and each window undoes its part when it is destroyed.
namespace hiscores {

inline constexpr char kOriginalProcProperty[] = "_Hyperlink_Original_Proc_";
inline constexpr char kOriginalFontProperty[] = "_Hyperlink_Original_Font_";
inline constexpr char kUnderlineFontProperty[] = "_Hyperlink_Underline_Font_";
inline constexpr char kFromStaticProperty[] = "_Hyperlink_From_Static_";

inline constexpr COLORREF kHyperlinkColor = RGB(0, 0, 192);

// Converts the control once; a second call on the same control changes nothing.
BOOL MakeHyperlink(HWND control);
BOOL MakeHyperlinkById(HWND dialog, int controlId);

// Installed on the label's parent: paints marked labels in the link colour.
LRESULT CALLBACK HyperlinkParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Installed on the label: hand pointer and hover underline.
LRESULT CALLBACK HyperlinkLabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace hiscores
