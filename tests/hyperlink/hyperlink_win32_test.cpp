#include "hiscores/hyperlink/hyperlink.h"
#include "tests/hyperlink/test_dialog.h"

#include <cstring>
#include <gtest/gtest.h>

namespace hiscores {
namespace {

const char* const kLabelProperties[] = {kOriginalProcProperty, kOriginalFontProperty,
                                        kUnderlineFontProperty, kFromStaticProperty};

// The test dialog paints its statics in this colour with this brush, so that the link
// colour can be told apart from whatever the parent chose.
constexpr COLORREF kParentTextColor = RGB(0x12, 0x34, 0x56);
HBRUSH ParentBrush() {
    return static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
}

// What a window's own procedure saw when WM_DESTROY reached it.
struct DestroyRecord {
    HWND window;
    int remainingProperties;
    WNDPROC proc;
    HFONT font;
};

constexpr int kMaxDestroyRecords = 8;
DestroyRecord DestroyRecords[kMaxDestroyRecords];
int DestroyRecordCount;

struct CommandRecord {
    int count;
    WPARAM wParam;
    LPARAM lParam;
};
CommandRecord Commands;

WNDPROC StaticClassProc;

void RecordDestroy(HWND window) {
    if (DestroyRecordCount == kMaxDestroyRecords)
        return;
    DestroyRecord& record = DestroyRecords[DestroyRecordCount++];
    record.window = window;
    record.remainingProperties = 0;
    for (const char* property : kLabelProperties)
        record.remainingProperties += GetPropA(window, property) != nullptr;
    record.proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    record.font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

const DestroyRecord* FindDestroyRecord(HWND window) {
    for (int i = 0; i < DestroyRecordCount; ++i) {
        if (DestroyRecords[i].window == window)
            return &DestroyRecords[i];
    }
    return nullptr;
}

LRESULT CALLBACK RecordingStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        RecordDestroy(window);
    return CallWindowProcA(StaticClassProc, window, message, wParam, lParam);
}

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(wParam), kParentTextColor);
        return reinterpret_cast<INT_PTR>(ParentBrush());
    case WM_COMMAND:
        Commands = {Commands.count + 1, wParam, lParam};
        return TRUE;
    case WM_DESTROY:
        RecordDestroy(dialog);
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
    WNDPROC recordingProc = RecordingStaticProc;
    staticClass.lpfnWndProc = recordingProc;
    staticClass.style &= ~CS_GLOBALCLASS;
    staticClass.hInstance = GetModuleHandleA(nullptr);
    staticClass.lpszClassName = TEST_STATIC_CLASS;
    ASSERT_NE(RegisterClassExA(&staticClass), 0);
}

WNDPROC CurrentProc(HWND window) {
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

HFONT CurrentFont(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

HFONT PropertyFont(HWND window, const char* property) {
    return static_cast<HFONT>(GetPropA(window, property));
}

LOGFONTA Describe(HGDIOBJ font) {
    LOGFONTA description = {};
    EXPECT_EQ(GetObjectA(font, sizeof description, &description), int{sizeof description});
    return description;
}

void ExpectUnderlinedCopy(HGDIOBJ underlined, HGDIOBJ plain) {
    ASSERT_EQ(GetObjectType(underlined), DWORD{OBJ_FONT});
    const LOGFONTA copy = Describe(underlined);
    const LOGFONTA original = Describe(plain);
    EXPECT_EQ(copy.lfUnderline, 1);
    EXPECT_EQ(original.lfUnderline, 0);
    EXPECT_EQ(copy.lfHeight, original.lfHeight);
    EXPECT_EQ(copy.lfWidth, original.lfWidth);
    EXPECT_EQ(copy.lfWeight, original.lfWeight);
    EXPECT_EQ(copy.lfItalic, original.lfItalic);
    EXPECT_EQ(copy.lfStrikeOut, original.lfStrikeOut);
    EXPECT_EQ(copy.lfCharSet, original.lfCharSet);
    EXPECT_EQ(copy.lfPitchAndFamily, original.lfPitchAndFamily);
    EXPECT_STREQ(copy.lfFaceName, original.lfFaceName);
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

struct ColorResult {
    HBRUSH brush;
    COLORREF text;
};

ColorResult ColorFor(HWND parent, HWND control) {
    HDC dc = GetDC(control);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    const LRESULT brush = SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(control));
    const ColorResult result = {reinterpret_cast<HBRUSH>(brush), GetTextColor(dc)};
    ReleaseDC(control, dc);
    return result;
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
        DestroyRecordCount = 0;
        Commands = {};
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

    // Puts the label into its hover state with a clean update region.
    void Hover(HWND label) {
        MoveMouse(label, 1, 1);
        ASSERT_EQ(GetCapture(), label);
        ValidateRect(label, nullptr);
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

TEST_F(HyperlinkLabel, ConversionSubclassesBothWindowsAndKeepsThePlainFont) {
    const LONG_PTR styleBefore = GetWindowLongPtrA(first_, GWL_STYLE);
    const WNDPROC labelProcBefore = CurrentProc(first_);
    ASSERT_EQ(styleBefore & SS_NOTIFY, 0);

    EXPECT_TRUE(MakeHyperlink(first_));

    EXPECT_EQ(GetWindowLongPtrA(first_, GWL_STYLE), styleBefore | SS_NOTIFY);
    WNDPROC labelProc = HyperlinkLabelProc;
    WNDPROC parentProc = HyperlinkParentProc;
    EXPECT_EQ(CurrentProc(first_), labelProc);
    EXPECT_EQ(GetPropA(first_, kOriginalProcProperty), reinterpret_cast<HANDLE>(labelProcBefore));
    EXPECT_EQ(PropertyFont(first_, kOriginalFontProperty), dialogFont_);
    ExpectUnderlinedCopy(PropertyFont(first_, kUnderlineFontProperty), dialogFont_);
    EXPECT_EQ(GetPropA(first_, kFromStaticProperty), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(CurrentProc(dialog_), parentProc);
    EXPECT_EQ(GetPropA(dialog_, kOriginalProcProperty), reinterpret_cast<HANDLE>(dialogProc_));
    EXPECT_EQ(CurrentFont(first_), dialogFont_);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HyperlinkLabel, ByIdConvertsOnlyThatControl) {
    EXPECT_TRUE(MakeHyperlinkById(dialog_, TEST_SECOND_LABEL));
    EXPECT_EQ(GetPropA(second_, kFromStaticProperty), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetPropA(first_, kFromStaticProperty), nullptr);
}

TEST_F(HyperlinkLabel, TwoLabelsReplaceTheParentProcedureOnceAndBothGetTheLinkColour) {
    MakeHyperlink(first_);
    MakeHyperlink(second_);

    EXPECT_EQ(GetPropA(dialog_, kOriginalProcProperty), reinterpret_cast<HANDLE>(dialogProc_));

    const struct {
        HWND* control;
        COLORREF text;
    } cases[] = {
        {&first_, kHyperlinkColor},
        {&second_, kHyperlinkColor},
        {&plain_, kParentTextColor},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(GetDlgCtrlID(*c.control));
        const ColorResult result = ColorFor(dialog_, *c.control);
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(result.brush, ParentBrush());
    }
}

TEST_F(HyperlinkLabel, FirstMoveTakesTheCaptureAndUnderlines) {
    MakeHyperlink(first_);
    ValidateRect(first_, nullptr);

    MoveMouse(first_, 2, 2);

    EXPECT_EQ(GetCapture(), first_);
    EXPECT_EQ(CurrentFont(first_), PropertyFont(first_, kUnderlineFontProperty));
    EXPECT_TRUE(HasPendingPaint(first_));
}

TEST_F(HyperlinkLabel, MovesInsideChangeNothing) {
    MakeHyperlink(first_);
    Hover(first_);
    const SIZE size = ClientSize(first_);
    const POINT inside[] = {{0, 0}, {size.cx - 1, 0}, {0, size.cy - 1}, {size.cx - 1, size.cy - 1}};
    for (const POINT& point : inside) {
        SCOPED_TRACE(testing::Message() << point.x << "," << point.y);
        MoveMouse(first_, point.x, point.y);
        EXPECT_EQ(GetCapture(), first_);
        EXPECT_EQ(CurrentFont(first_), PropertyFont(first_, kUnderlineFontProperty));
        EXPECT_FALSE(HasPendingPaint(first_));
    }
}

TEST_F(HyperlinkLabel, LeavingRestoresThePlainFontAndReleasesTheCapture) {
    MakeHyperlink(first_);
    const SIZE size = ClientSize(first_);
    const POINT outside[] = {{size.cx, 0}, {0, size.cy}, {size.cx, size.cy}, {-1, 0}, {0, -1}};
    for (const POINT& point : outside) {
        SCOPED_TRACE(testing::Message() << point.x << "," << point.y);
        Hover(first_);
        MoveMouse(first_, point.x, point.y);
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
    SendMessageA(first_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    ASSERT_EQ(Commands.count, 0);

    MakeHyperlink(first_);
    SendMessageA(first_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));

    EXPECT_EQ(Commands.count, 1);
    EXPECT_EQ(Commands.wParam, MAKEWPARAM(TEST_FIRST_LABEL, STN_CLICKED));
    EXPECT_EQ(Commands.lParam, reinterpret_cast<LPARAM>(first_));
}

TEST_F(HyperlinkLabel, DestructionUndoesEverythingOnBothWindows) {
    MakeHyperlink(first_);
    MakeHyperlink(second_);
    const HFONT underlined[] = {PropertyFont(first_, kUnderlineFontProperty),
                                PropertyFont(second_, kUnderlineFontProperty)};
    Hover(first_);
    const WNDPROC recordingProc = RecordingStaticProc;
    const HWND labels[] = {first_, second_};

    ASSERT_TRUE(DestroyWindow(dialog_));

    const DestroyRecord* dialogRecord = FindDestroyRecord(dialog_);
    ASSERT_NE(dialogRecord, nullptr);
    EXPECT_EQ(dialogRecord->remainingProperties, 0);
    EXPECT_EQ(dialogRecord->proc, dialogProc_);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const DestroyRecord* labelRecord = FindDestroyRecord(labels[i]);
        ASSERT_NE(labelRecord, nullptr);
        EXPECT_EQ(labelRecord->remainingProperties, 0);
        EXPECT_EQ(labelRecord->proc, recordingProc);
        EXPECT_EQ(labelRecord->font, dialogFont_);
        EXPECT_EQ(GetObjectType(underlined[i]), DWORD{0});
    }
}

TEST_F(HyperlinkLabel, SecondConversionIsIgnored) {
    const WNDPROC labelProcBefore = CurrentProc(first_);
    MakeHyperlink(first_);
    const HFONT underlined = PropertyFont(first_, kUnderlineFontProperty);

    EXPECT_TRUE(MakeHyperlink(first_));

    EXPECT_EQ(GetPropA(first_, kOriginalProcProperty), reinterpret_cast<HANDLE>(labelProcBefore));
    EXPECT_EQ(PropertyFont(first_, kUnderlineFontProperty), underlined);
    char text[32] = {};
    EXPECT_EQ(GetWindowTextA(first_, text, sizeof text), int{strlen("First link")});
    ASSERT_TRUE(DestroyWindow(dialog_));
    EXPECT_EQ(GetObjectType(underlined), DWORD{0});
}

// Hidden, so that its destruction is quick; capture and fonts do not need it shown.
TEST(HyperlinkLabelWithoutParent, HoversAndCleansUpWithoutTheColour) {
    RegisterRecordingStatic();
    HWND label = CreateWindowA(TEST_STATIC_CLASS, "Lonely link", WS_POPUP | SS_LEFT, 10, 10, 120,
                               20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(label, nullptr);
    ASSERT_EQ(GetParent(label), nullptr);
    DestroyRecordCount = 0;

    EXPECT_TRUE(MakeHyperlink(label));

    const HFONT underlined = PropertyFont(label, kUnderlineFontProperty);
    EXPECT_EQ(PropertyFont(label, kOriginalFontProperty), nullptr);
    ExpectUnderlinedCopy(underlined, GetStockObject(SYSTEM_FONT));
    MoveMouse(label, 1, 1);
    EXPECT_EQ(GetCapture(), label);
    EXPECT_EQ(CurrentFont(label), underlined);
    MoveMouse(label, ClientSize(label).cx, 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(CurrentFont(label), nullptr);

    ASSERT_TRUE(DestroyWindow(label));
    const DestroyRecord* record = FindDestroyRecord(label);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->remainingProperties, 0);
    EXPECT_EQ(GetObjectType(underlined), DWORD{0});
}

} // namespace
} // namespace hiscores
