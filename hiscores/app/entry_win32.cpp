// The program's own entry point: no C runtime start-up, so nothing runs before WinMain
// and the image carries no TLS, .CRT or pseudo-relocation code.
#include <windows.h>

namespace {

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
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    const int show =
        (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
    const int result =
        WinMain(GetModuleHandleA(nullptr), nullptr, CommandTail(GetCommandLineA()), show);
    ExitProcess(static_cast<UINT>(result));
}
