/* A DLL planted beside the program: loaded, it leaves an empty file named after itself
   plus ".loaded" beside itself, then refuses to stay, so that a process that took it
   carries on as it can. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        WCHAR path[MAX_PATH + 8];
        DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
        lstrcpyW(path + length, L".loaded");
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return FALSE;
}
