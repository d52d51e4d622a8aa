/* Times needdxver calls as a Unicode installer makes them: the plug-in loaded with
   LoadLibrary, two stack entries made with GlobalAlloc, the verdict popped afterwards.
   Prints one line per call to stderr: "call <n> <microseconds> <verdict>".

   needdxver_timer.exe PLUGIN.dll REQUIREMENT CALLS */
#include <windows.h>

#include "nsistumbra/nsis_stack_entry.h"

#include <stdio.h>
#include <stdlib.h>

typedef void(__cdecl* NeedDxVer)(HWND, int, wchar_t*, StackEntry**, void*);

enum { kStringSize = 1024 };

static wchar_t* TextOf(StackEntry* entry) {
    return (wchar_t*)(entry + 1);
}

static int Push(StackEntry** top, const wchar_t* text) {
    StackEntry* entry = GlobalAlloc(GPTR, kStackEntryHeaderBytes + kStringSize * sizeof(wchar_t));
    if (entry == NULL)
        return 0;
    lstrcpynW(TextOf(entry), text, kStringSize);
    entry->next = *top;
    *top = entry;
    return 1;
}

/* Pops every entry; the first (the verdict) goes to verdict as 8-bit text. */
static void Drain(StackEntry** top, char* verdict, int capacity) {
    verdict[0] = 0;
    if (*top != NULL)
        WideCharToMultiByte(CP_ACP, 0, TextOf(*top), -1, verdict, capacity, NULL, NULL);
    while (*top != NULL) {
        StackEntry* entry = *top;
        *top = entry->next;
        GlobalFree(entry);
    }
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: needdxver_timer.exe PLUGIN.dll REQUIREMENT CALLS\n");
        return 2;
    }
    HMODULE plugin = LoadLibraryA(argv[1]);
    NeedDxVer needdxver =
        plugin == NULL ? NULL : (NeedDxVer)(void*)GetProcAddress(plugin, "needdxver");
    if (needdxver == NULL) {
        fprintf(stderr, "no needdxver in %s\n", argv[1]);
        return 2;
    }
    wchar_t requirement[kStringSize];
    MultiByteToWideChar(CP_ACP, 0, argv[2], -1, requirement, kStringSize);
    const int calls = atoi(argv[3]);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    static wchar_t variables[kStringSize * 25];
    for (int call = 1; call <= calls; ++call) {
        StackEntry* top = NULL;
        if (!Push(&top, L"unused") || !Push(&top, requirement))
            return 2;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        needdxver(NULL, kStringSize, variables, &top, NULL);
        QueryPerformanceCounter(&end);
        char verdict[kStringSize];
        Drain(&top, verdict, kStringSize);
        fprintf(stderr, "call %d %.0f %s\n", call,
                (double)(end.QuadPart - start.QuadPart) * 1e6 / (double)frequency.QuadPart,
                verdict);
    }
    return 0;
}
