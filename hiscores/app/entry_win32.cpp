// The program's own entry point: no C runtime start-up, so nothing runs before it and
// the image carries no TLS, .CRT or pseudo-relocation code.
#include "hiscores/app/main_window.h"
#include "hiscores/app/send_local.h"
#include "hiscores/app/tokenizer.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/sizes.h"

#include <windows.h>

namespace {

// The longest command line Windows passes to a program.
constexpr int kArgumentTextSize = 32768;

// Blanks and control characters. Bytes from 0x80 up are letters of the code page: a
// program in a folder named with one, started unquoted, must not take the rest of its
// own name for arguments.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// The command line after the program name (quotes toggle, no escapes) and the blanks
// that follow it; trailing blanks stay.
LPSTR CommandTail(LPSTR line) {
    bool quoted = false;
    while (*line != '\0' && (quoted || !IsBlank(*line))) {
        if (*line == '"')
            quoted = !quoted;
        ++line;
    }
    while (*line != '\0' && IsBlank(*line))
        ++line;
    return line;
}

// Run from a floppy or any other disk, the program must not load a DLL planted beside it:
// the system loads some by name on its behalf (themes, shell helpers, Winsock providers)
// and would look in the program's folder first. Both calls are missing on the oldest
// systems, so they are looked up; the second only takes the current folder out.
void LoadDllsOnlyFromSystemFolder() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDefaultDllDirectories = reinterpret_cast<decltype(&SetDefaultDllDirectories)>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    auto setDllDirectory = reinterpret_cast<decltype(&SetDllDirectoryA)>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
    if (setDllDirectory != nullptr)
        setDllDirectory("");
}

// The system's own box for a drive without a disk would come before the program's
// message about the floppy; the flags already set stay.
void FailCriticalErrorsWithoutABox() {
    SetErrorMode(SetErrorMode(SEM_FAILCRITICALERRORS) | SEM_FAILCRITICALERRORS);
}

// With any argument one silent upload, whose outcome is the exit code; else the window.
int Run(HINSTANCE instance, LPSTR argumentText) {
    char programPath[hiscores::kPathSize];
    programPath[0] = '\0';
    GetModuleFileNameA(nullptr, programPath, sizeof programPath);
    char arguments[kArgumentTextSize];
    lstrcpynA(arguments, argumentText, sizeof arguments);
    if (hiscores::IsSilentRun(arguments, programPath)) {
        hiscores::SilentMode = true;
        return static_cast<int>(hiscores::SendLocalHiscores());
    }
    hiscores::SilentMode = false;
    return hiscores::RunMainWindow(instance);
}

} // namespace

// i686: Windows starts the process with only 4-byte stack alignment; GCC code expects 16.
#ifdef __i386__
#define ENTRY_REALIGNS_STACK __attribute__((force_align_arg_pointer))
#else
#define ENTRY_REALIGNS_STACK
#endif

extern "C" ENTRY_REALIGNS_STACK __attribute__((noreturn)) void WinMainCRTStartup() {
    LoadDllsOnlyFromSystemFolder();
    FailCriticalErrorsWithoutABox();
    ExitProcess(static_cast<UINT>(Run(GetModuleHandleA(nullptr), CommandTail(GetCommandLineA()))));
}
