#include "hiscores/app/main_window.h"

#include "hiscores/app/floppy_commands.h"
#include "hiscores/app/send_local.h"
#include "hiscores/common/exit_codes.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/feedback_win32.h"
#include "hiscores/common/messages.h"
#include "hiscores/hyperlink/hyperlink.h"
#include "hiscores/resources/resource_ids.h"
#include "hiscores/upload/server.h"

#include <commctrl.h>
#include <objbase.h>
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

// The manifest redirects the dialog's buttons and texts to common controls 6, whose classes
// exist on Windows XP only once the library has registered them. Loaded here rather than
// imported: an import would start the library, and whatever it loads, before the entry
// point has kept the DLL search out of the program's folder.
void InitialiseCommonControls() {
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == nullptr)
        return;
    auto initialise = reinterpret_cast<decltype(&InitCommonControlsEx)>(
        reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    if (initialise != nullptr)
        initialise(&controls);
}

using StopComCall = decltype(&CoUninitialize);

// Opening the page may hand it to shell extensions that use COM, which the shell expects
// its caller to have started on the thread. Looked up, like the common controls: Windows
// 95 without DCOM lacks CoInitializeEx. Returns what stops COM again, or nullptr when it
// did not start.
StopComCall StartCom() {
    HMODULE library = LoadLibraryA("ole32.dll");
    if (library == nullptr)
        return nullptr;
    auto initialise = reinterpret_cast<decltype(&CoInitializeEx)>(
        reinterpret_cast<void*>(GetProcAddress(library, "CoInitializeEx")));
    auto stop = reinterpret_cast<StopComCall>(
        reinterpret_cast<void*>(GetProcAddress(library, "CoUninitialize")));
    if (initialise == nullptr || stop == nullptr ||
        FAILED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
        return nullptr;
    return stop;
}

void RunMessageLoop(HWND dialog, HACCEL accelerators) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (TranslateAcceleratorA(dialog, accelerators, &message))
            continue;
        if (IsDialogMessageA(dialog, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int RunMainWindow(HINSTANCE instance) {
    InitialiseCommonControls();
    DLGPROC dialogProc = MainDialogProc;
    HWND dialog =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(HISCORES_DIALOG), nullptr, dialogProc, 0);
    // Without a dialog nothing would ever post the quit message; a silent run reports a
    // system error with the same code.
    if (dialog == nullptr) {
        ShowError(kCannotOpenWindowMessage);
        return static_cast<int>(ExitCode::kNoConnection);
    }
    const StopComCall stopCom = StartCom();
    ShowWindow(dialog, SW_SHOW);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(HISCORES_ACCELERATORS));
    RunMessageLoop(dialog, accelerators);
    if (stopCom != nullptr)
        stopCom();
    return 0;
}

} // namespace hiscores
