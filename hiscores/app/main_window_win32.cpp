#include "hiscores/app/main_window.h"

#include "hiscores/app/floppy_commands.h"
#include "hiscores/app/send_local.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/feedback_win32.h"
#include "hiscores/common/messages.h"
#include "hiscores/hyperlink/hyperlink.h"
#include "hiscores/resources/resource_ids.h"
#include "hiscores/upload/server.h"

#include <shellapi.h>

namespace hiscores {

namespace {

INT_PTR OnInitDialog(HWND dialog) {
    SetFeedbackWindow(dialog);
    MakeHyperlinkById(dialog, ID_HISCORE_PAGE_LINK);
    SetStatus(kNoStatus);
    SetFocus(dialog);
    return TRUE;
}

void OpenHiscorePage(HWND dialog) {
    ShellExecuteA(dialog, "open", kHiscorePageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

// Buttons and their keys run the same commands; the notification code does not matter.
INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case ID_SEND_LOCAL_BUTTON:
    case ID_SEND_LOCAL_KEY:
        SendLocalHiscores();
        return TRUE;
    case ID_SAVE_TO_FLOPPY_BUTTON:
    case ID_SAVE_TO_FLOPPY_KEY:
        SaveHiscoresToFloppy();
        return TRUE;
    case ID_SEND_FROM_FLOPPY_BUTTON:
    case ID_SEND_FROM_FLOPPY_KEY:
        SendHiscoresFromFloppy();
        return TRUE;
    case ID_EXIT_BUTTON:
    case ID_EXIT_KEY:
        DestroyWindow(dialog);
        return TRUE;
    case ID_HISCORE_PAGE_LINK:
        OpenHiscorePage(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnClose(HWND dialog) {
    DestroyWindow(dialog);
    return TRUE;
}

INT_PTR OnDestroy() {
    PostQuitMessage(0);
    return TRUE;
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_CLOSE:
        return OnClose(dialog);
    case WM_DESTROY:
        return OnDestroy();
    default:
        return FALSE;
    }
}

} // namespace

int RunMainWindow(HINSTANCE instance) {
    DLGPROC dialogProc = MainDialogProc;
    HWND dialog =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(HISCORES_DIALOG), nullptr, dialogProc, 0);
    // Without a dialog nothing would ever post the quit message.
    if (dialog == nullptr)
        return 0;
    ShowWindow(dialog, SW_SHOW);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(HISCORES_ACCELERATORS));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (TranslateAcceleratorA(dialog, accelerators, &message))
            continue;
        if (IsDialogMessageA(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

} // namespace hiscores
