#include "hiscores/hyperlink/hyperlink.h"

#include <windowsx.h>

namespace hiscores {

namespace {

constexpr char kOriginalProcProperty[] = "_Hyperlink_Original_Proc_";
constexpr char kOriginalFontProperty[] = "_Hyperlink_Original_Font_";
constexpr char kUnderlineFontProperty[] = "_Hyperlink_Underline_Font_";
constexpr char kFromStaticProperty[] = "_Hyperlink_From_Static_";

LRESULT CALLBACK HyperlinkParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

WNDPROC CurrentProc(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// Installs newProc and keeps the one it replaces in the window's own property.
void Subclass(HWND window, WNDPROC newProc) {
    SetPropA(window, kOriginalProcProperty, reinterpret_cast<HANDLE>(CurrentProc(window)));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(newProc));
}

WNDPROC PreviousProc(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropA(window, kOriginalProcProperty));
}

// Puts the previous procedure back; returns it so the caller can still pass it the message.
WNDPROC Unsubclass(HWND window) {
    WNDPROC previous = PreviousProc(window);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(window, kOriginalProcProperty);
    return previous;
}

HFONT PropertyFont(HWND label, const char* property) {
    return static_cast<HFONT>(GetPropA(label, property));
}

// A control without a font of its own draws with the system font, so the underlined copy is
// made from that one.
HFONT CreateUnderlinedCopy(HFONT plainFont) {
    HGDIOBJ described = plainFont ? static_cast<HGDIOBJ>(plainFont) : GetStockObject(SYSTEM_FONT);
    LOGFONTA description = {};
    GetObjectA(described, sizeof description, &description);
    description.lfUnderline = TRUE;
    return CreateFontIndirectA(&description);
}

void AdoptParent(HWND control) {
    HWND parent = GetParent(control);
    WNDPROC parentProc = HyperlinkParentProc;
    if (parent && CurrentProc(parent) != parentProc)
        Subclass(parent, parentProc);
}

LRESULT OnParentCtlColorStatic(HWND parent, WPARAM wParam, LPARAM lParam) {
    LRESULT result =
        CallWindowProcA(PreviousProc(parent), parent, WM_CTLCOLORSTATIC, wParam, lParam);
    if (GetPropA(reinterpret_cast<HWND>(lParam), kFromStaticProperty))
        SetTextColor(reinterpret_cast<HDC>(wParam), kHyperlinkColor);
    return result;
}

LRESULT OnParentDestroy(HWND parent, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = Unsubclass(parent);
    return CallWindowProcA(previous, parent, WM_DESTROY, wParam, lParam);
}

LRESULT OnLabelSetCursor() {
    HCURSOR cursor = LoadCursorA(nullptr, IDC_HAND);
    if (!cursor)
        cursor = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(cursor);
    return TRUE;
}

void ShowFont(HWND label, const char* property) {
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(PropertyFont(label, property)), FALSE);
    InvalidateRect(label, nullptr, FALSE);
}

// The right and bottom edges of the window rectangle count as outside.
bool IsPointerOver(HWND label, LPARAM clientPosition) {
    RECT windowRect;
    GetWindowRect(label, &windowRect);
    POINT pointer = {GET_X_LPARAM(clientPosition), GET_Y_LPARAM(clientPosition)};
    ClientToScreen(label, &pointer);
    return PtInRect(&windowRect, pointer);
}

// Holding the capture is the hover state: it is how the label learns that the pointer left.
LRESULT OnLabelMouseMove(HWND label, WPARAM wParam, LPARAM lParam) {
    if (GetCapture() != label) {
        ShowFont(label, kUnderlineFontProperty);
        SetCapture(label);
    } else if (!IsPointerOver(label, lParam)) {
        ShowFont(label, kOriginalFontProperty);
        ReleaseCapture();
    }
    return CallWindowProcA(PreviousProc(label), label, WM_MOUSEMOVE, wParam, lParam);
}

// The plain font goes back before the underlined one is deleted, so the label never
// refers to a deleted font.
LRESULT OnLabelDestroy(HWND label, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = Unsubclass(label);
    SendMessageA(label, WM_SETFONT,
                 reinterpret_cast<WPARAM>(PropertyFont(label, kOriginalFontProperty)), FALSE);
    RemovePropA(label, kOriginalFontProperty);
    DeleteObject(PropertyFont(label, kUnderlineFontProperty));
    RemovePropA(label, kUnderlineFontProperty);
    RemovePropA(label, kFromStaticProperty);
    return CallWindowProcA(previous, label, WM_DESTROY, wParam, lParam);
}

// Installed on the label's parent: paints marked labels in the link colour.
LRESULT CALLBACK HyperlinkParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        return OnParentCtlColorStatic(window, wParam, lParam);
    case WM_DESTROY:
        return OnParentDestroy(window, wParam, lParam);
    default:
        return CallWindowProcA(PreviousProc(window), window, message, wParam, lParam);
    }
}

// Installed on the label: hand pointer and hover underline.
LRESULT CALLBACK HyperlinkLabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        return OnLabelSetCursor();
    case WM_MOUSEMOVE:
        return OnLabelMouseMove(window, wParam, lParam);
    case WM_DESTROY:
        return OnLabelDestroy(window, wParam, lParam);
    default:
        return CallWindowProcA(PreviousProc(window), window, message, wParam, lParam);
    }
}

} // namespace

BOOL MakeHyperlink(HWND control) {
    // A second conversion would record HyperlinkLabelProc as its own predecessor.
    if (GetPropA(control, kFromStaticProperty))
        return TRUE;
    AdoptParent(control);
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
    WNDPROC labelProc = HyperlinkLabelProc;
    Subclass(control, labelProc);
    HFONT plainFont = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    SetPropA(control, kOriginalFontProperty, plainFont);
    SetPropA(control, kUnderlineFontProperty, CreateUnderlinedCopy(plainFont));
    SetPropA(control, kFromStaticProperty, reinterpret_cast<HANDLE>(1));
    return TRUE;
}

BOOL MakeHyperlinkById(HWND dialog, int controlId) {
    return MakeHyperlink(GetDlgItem(dialog, controlId));
}

} // namespace hiscores
