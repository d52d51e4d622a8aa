// The link label as a user meets it, seen through what Windows reports: the colour its
// text is painted in, the pointer, the font while the pointer is over it, the command a
// click sends, and the windows as they were once they are destroyed.
#include "hiscores/hyperlink/hyperlink.h"
#include "tests/hyperlink/test_dialog.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace hiscores {
namespace {

// The test dialog paints its statics in this colour on this background, so that the link
// colour can be told apart from whatever the parent chose.
constexpr COLORREF kParentTextColor = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kParentBackground = RGB(0x9a, 0xbc, 0xde);
const HBRUSH kParentBrush = CreateSolidBrush(kParentBackground);

using Properties = std::set<std::string>;

BOOL CALLBACK AddProperty(HWND, LPSTR name, HANDLE, ULONG_PTR properties) {
    reinterpret_cast<Properties*>(properties)
        ->insert(IS_INTRESOURCE(name) ? "#" + std::to_string(LOWORD(name)) : name);
    return TRUE;
}

Properties PropertiesOf(HWND window) {
    Properties properties;
    PROPENUMPROCEXA add = AddProperty;
    EnumPropsExA(window, add, reinterpret_cast<LPARAM>(&properties));
    return properties;
}

WNDPROC CurrentProc(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

HFONT CurrentFont(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

// A window as its own procedure saw it when it was created and when WM_DESTROY reached it.
struct Lifetime {
    Properties created;
    Properties destroyed;
    WNDPROC procAtDestroy;
    HFONT fontAtDestroy;
};
std::map<HWND, Lifetime> Lifetimes;
using Command = std::pair<WPARAM, LPARAM>;
std::vector<Command> Commands;

void Observe(HWND window, UINT message) {
    Lifetime& lifetime = Lifetimes[window];
    if (message == WM_CREATE || message == WM_INITDIALOG)
        lifetime = {PropertiesOf(window), {}, nullptr, nullptr};
    if (message == WM_DESTROY)
        lifetime = {lifetime.created, PropertiesOf(window), CurrentProc(window),
                    CurrentFont(window)};
}

WNDPROC StaticClassProc;

LRESULT CALLBACK RecordingStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Observe(window, message);
    return CallWindowProcA(StaticClassProc, window, message, wParam, lParam);
}
const WNDPROC kRecordingProc = RecordingStaticProc;

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Observe(dialog, message);
    switch (message) {
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wParam), kParentTextColor);
        return reinterpret_cast<INT_PTR>(kParentBrush);
    case WM_COMMAND:
        Commands.push_back({wParam, lParam});
        return TRUE;
    case WM_DESTROY:
        return TRUE;
    default:
        return FALSE;
    }
}

// The system's static control under a class name of the test's own.
void RegisterRecordingStatic() {
    if (StaticClassProc)
        return;
    WNDCLASSEXA staticClass = {};
    staticClass.cbSize = sizeof staticClass;
    ASSERT_TRUE(GetClassInfoExA(nullptr, "STATIC", &staticClass));
    StaticClassProc = staticClass.lpfnWndProc;
    staticClass.lpfnWndProc = kRecordingProc;
    staticClass.style &= ~CS_GLOBALCLASS;
    staticClass.hInstance = GetModuleHandleA(nullptr);
    staticClass.lpszClassName = TEST_STATIC_CLASS;
    ASSERT_NE(RegisterClassExA(&staticClass), 0);
}

// The window reached its own procedure's WM_DESTROY with that procedure back in place, the
// properties it was created with and no other, and the font given; its underlined font, if
// it had one, is deleted.
void ExpectRestored(HWND window, WNDPROC proc, HFONT font, HFONT underlined = nullptr) {
    const Lifetime& lifetime = Lifetimes[window];
    ASSERT_NE(lifetime.procAtDestroy, nullptr) << "WM_DESTROY did not reach it";
    EXPECT_EQ(lifetime.procAtDestroy, proc);
    EXPECT_EQ(lifetime.destroyed, lifetime.created);
    EXPECT_EQ(lifetime.fontAtDestroy, font);
    EXPECT_EQ(GetObjectType(underlined), DWORD{0});
}

// All of a font's description but the underline.
auto Look(const LOGFONTA& font) {
    return std::make_tuple(font.lfHeight, font.lfWidth, font.lfWeight, font.lfItalic,
                           font.lfStrikeOut, font.lfCharSet, font.lfPitchAndFamily,
                           std::string(font.lfFaceName));
}

void ExpectUnderlinedCopy(HGDIOBJ font, HGDIOBJ plain) {
    ASSERT_EQ(GetObjectType(font), DWORD{OBJ_FONT});
    LOGFONTA copy = {}, original = {};
    ASSERT_EQ(GetObjectA(font, sizeof copy, &copy), int{sizeof copy});
    ASSERT_EQ(GetObjectA(plain, sizeof original, &original), int{sizeof original});
    EXPECT_EQ(copy.lfUnderline, 1);
    EXPECT_EQ(original.lfUnderline, 0);
    EXPECT_EQ(Look(copy), Look(original));
}

SIZE ClientSize(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

void MoveMouse(HWND label, int x, int y) {
    SendMessageA(label, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

bool HasPendingPaint(HWND window) {
    return GetUpdateRect(window, nullptr, FALSE);
}

// Moves the pointer onto the label from outside: it captures the pointer and repaints in an
// underlined copy of its plain font. Returns that font, with the update region clean.
HFONT Hover(HWND label, HGDIOBJ plain) {
    ValidateRect(label, nullptr);
    MoveMouse(label, 1, 1);
    EXPECT_EQ(GetCapture(), label);
    const HFONT underlined = CurrentFont(label);
    ExpectUnderlinedCopy(underlined, plain);
    // Windows keeps no update region for a hidden window.
    EXPECT_TRUE(HasPendingPaint(label) || !IsWindowVisible(label));
    ValidateRect(label, nullptr);
    return underlined;
}

// The colours of the control's pixels as it paints itself.
std::set<COLORREF> PaintedColors(HWND control) {
    const SIZE size = ClientSize(control);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    std::set<COLORREF> colors;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            colors.insert(GetPixel(dc, x, y));
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colors;
}

// The test dialogs are children of one visible top-level window: Wine takes two seconds to
// destroy a visible top-level window when no window manager runs, but none for a child.
class HyperlinkLabel : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        RegisterRecordingStatic();
        host_ = CreateWindowA("STATIC", "Link label test", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    static void TearDownTestSuite() { DestroyWindow(host_); }

    void SetUp() override {
        ASSERT_NE(host_, nullptr);
        Lifetimes.clear();
        Commands.clear();
        dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(TEST_DIALOG),
                                     host_, TestDialogProc, 0);
        ASSERT_NE(dialog_, nullptr);
        UpdateWindow(dialog_);
        first_ = GetDlgItem(dialog_, TEST_FIRST_LABEL);
        second_ = GetDlgItem(dialog_, TEST_SECOND_LABEL);
        plain_ = GetDlgItem(dialog_, TEST_PLAIN_TEXT);
        ASSERT_NE(first_, nullptr);
        dialogProc_ = CurrentProc(dialog_);
        dialogFont_ = CurrentFont(first_);
        ASSERT_NE(dialogFont_, nullptr);
    }

    void TearDown() override {
        ReleaseCapture();
        if (IsWindow(dialog_))
            DestroyWindow(dialog_);
    }

    static HWND host_;
    HWND dialog_ = nullptr;
    HWND first_ = nullptr;
    HWND second_ = nullptr;
    HWND plain_ = nullptr;
    WNDPROC dialogProc_ = nullptr;
    HFONT dialogFont_ = nullptr;
};

HWND HyperlinkLabel::host_ = nullptr;

TEST_F(HyperlinkLabel, LabelsArePaintedInTheLinkColourOnTheParentsBackground) {
    EXPECT_TRUE(MakeHyperlink(first_));
    EXPECT_TRUE(MakeHyperlinkById(dialog_, TEST_SECOND_LABEL));
    const std::tuple<HWND, COLORREF, COLORREF> cases[] = {
        {first_, kHyperlinkColor, kParentTextColor},
        {second_, kHyperlinkColor, kParentTextColor},
        {plain_, kParentTextColor, kHyperlinkColor},
    };
    for (const auto& [control, text, notText] : cases) {
        SCOPED_TRACE(GetDlgCtrlID(control));
        const std::set<COLORREF> colors = PaintedColors(control);
        EXPECT_EQ(colors.count(text), 1u);
        EXPECT_EQ(colors.count(notText), 0u);
        EXPECT_EQ(colors.count(kParentBackground), 1u);
    }
}

TEST_F(HyperlinkLabel, PointerOverItUnderlinesUntilItLeaves) {
    MakeHyperlink(first_);
    EXPECT_EQ(CurrentFont(first_), dialogFont_);
    EXPECT_EQ(GetCapture(), nullptr);
    const SIZE size = ClientSize(first_);
    const POINT inside[] = {{0, 0}, {size.cx - 1, 0}, {0, size.cy - 1}, {size.cx - 1, size.cy - 1}};
    const POINT outside[] = {{size.cx, 0}, {0, size.cy}, {size.cx, size.cy}, {-1, 0}, {0, -1}};
    for (const POINT& leaving : outside) {
        SCOPED_TRACE(testing::Message() << "leaving at " << leaving.x << "," << leaving.y);
        const HFONT underlined = Hover(first_, dialogFont_);
        for (const POINT& point : inside) {
            SCOPED_TRACE(testing::Message() << point.x << "," << point.y);
            MoveMouse(first_, point.x, point.y);
            EXPECT_EQ(GetCapture(), first_);
            EXPECT_EQ(CurrentFont(first_), underlined);
            EXPECT_FALSE(HasPendingPaint(first_));
        }
        MoveMouse(first_, leaving.x, leaving.y);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(CurrentFont(first_), dialogFont_);
        EXPECT_TRUE(HasPendingPaint(first_));
    }
}

TEST_F(HyperlinkLabel, ShowsTheHandPointer) {
    MakeHyperlink(first_);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));

    const LRESULT handled = SendMessageA(first_, WM_SETCURSOR, reinterpret_cast<WPARAM>(first_),
                                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));

    EXPECT_EQ(handled, TRUE);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
}

TEST_F(HyperlinkLabel, ClickReachesTheParentAsCommandWithTheLabelId) {
    const LONG_PTR styleBefore = GetWindowLongPtrA(first_, GWL_STYLE);
    SendMessageA(first_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    ASSERT_TRUE(Commands.empty());

    EXPECT_TRUE(MakeHyperlink(first_));
    SendMessageA(first_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));

    EXPECT_EQ(GetWindowLongPtrA(first_, GWL_STYLE), styleBefore | SS_NOTIFY);
    const Command click = {MAKEWPARAM(TEST_FIRST_LABEL, STN_CLICKED),
                           reinterpret_cast<LPARAM>(first_)};
    EXPECT_EQ(Commands, std::vector<Command>{click});
}

TEST_F(HyperlinkLabel, DestructionUndoesEverythingOnBothWindows) {
    MakeHyperlink(first_);
    MakeHyperlink(second_);
    const HFONT secondUnderlined = Hover(second_, dialogFont_);
    MoveMouse(second_, -1, -1);
    const HFONT firstUnderlined = Hover(first_, dialogFont_); // still underlined when destroyed

    ASSERT_TRUE(DestroyWindow(dialog_));

    ExpectRestored(dialog_, dialogProc_, dialogFont_);
    ExpectRestored(first_, kRecordingProc, dialogFont_, firstUnderlined);
    ExpectRestored(second_, kRecordingProc, dialogFont_, secondUnderlined);
}

TEST_F(HyperlinkLabel, SecondConversionIsIgnored) {
    MakeHyperlink(first_);
    const HFONT underlined = Hover(first_, dialogFont_);
    MoveMouse(first_, -1, -1);

    EXPECT_TRUE(MakeHyperlink(first_));

    EXPECT_EQ(Hover(first_, dialogFont_), underlined);
    char text[32] = {};
    EXPECT_EQ(GetWindowTextA(first_, text, sizeof text), int{strlen("First link")});
    ASSERT_TRUE(DestroyWindow(dialog_));
    ExpectRestored(first_, kRecordingProc, dialogFont_, underlined);
}

// Hidden, so that its destruction is quick; capture and fonts do not need it shown.
TEST(HyperlinkLabelWithoutParent, HoversAndCleansUpWithoutTheColour) {
    RegisterRecordingStatic();
    HWND label = CreateWindowA(TEST_STATIC_CLASS, "Lonely link", WS_POPUP | SS_LEFT, 10, 10, 120,
                               20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(label, nullptr);
    ASSERT_EQ(GetParent(label), nullptr);

    EXPECT_TRUE(MakeHyperlink(label));

    const HFONT underlined = Hover(label, GetStockObject(SYSTEM_FONT));
    MoveMouse(label, ClientSize(label).cx, 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(CurrentFont(label), nullptr);

    ASSERT_TRUE(DestroyWindow(label));
    ExpectRestored(label, kRecordingProc, nullptr, underlined);
}

} // namespace
} // namespace hiscores
