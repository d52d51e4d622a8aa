/* Starts and ends at once, like do_nothing.c, but imports the system DLLs hiscores.exe
   imports (bench/run.sh checks that the lists match): beside do_nothing.exe it shows
   what loading them costs, and beside hiscores.exe what the program's own work costs. */
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

typedef void (*AnyFunction)(void);

int main(void) {
    /* One function of each DLL, stored where the compiler cannot drop it, so that the
       linker keeps every import; none is called. */
    AnyFunction volatile imports[] = {(AnyFunction)RegCloseKey, (AnyFunction)DeleteObject,
                                      (AnyFunction)ShellExecuteA, (AnyFunction)MessageBoxA,
                                      (AnyFunction)WSACleanup};
    return imports[0] == NULL;
}
