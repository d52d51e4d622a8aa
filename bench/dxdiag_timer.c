/* The baseline of needdxver with the provider on: only the raw DirectX diagnostic query
   (join COM, create the provider, initialise it, open the root and "DxDiag_SystemInfo",
   read the three properties, release, leave COM), timed per call as needdxver_timer.c
   times the plug-in. Prints one line per call to stderr: "call <n> <microseconds>
   <version>", the version as major.minor and letter, or "failed".

   dxdiag_timer.exe CALLS */
#define COBJMACROS
#include <windows.h>
#include <oleauto.h>
#include <dxdiag.h>

#include <stdio.h>
#include <stdlib.h>

static const CLSID kProviderClass = {
    0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
static const IID kProviderInterface = {
    0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};

enum { kHeaderVersion = 111 };

static ULONG ReadUnsigned(IDxDiagContainer* container, const wchar_t* name) {
    VARIANT value;
    VariantInit(&value);
    ULONG read = 0;
    if (SUCCEEDED(IDxDiagContainer_GetProp(container, name, &value)) && value.vt == VT_UI4)
        read = value.ulVal;
    VariantClear(&value);
    return read;
}

static char ReadLetter(IDxDiagContainer* container) {
    VARIANT value;
    VariantInit(&value);
    char letter = '?';
    if (SUCCEEDED(IDxDiagContainer_GetProp(container, L"szDirectXVersionLetter", &value)) &&
        value.vt == VT_BSTR && SysStringLen(value.bstrVal) > 0)
        letter = (char)value.bstrVal[0];
    VariantClear(&value);
    return letter;
}

/* Writes the version to text, or "failed". */
static void Query(char* text, int capacity) {
    lstrcpynA(text, "failed", capacity);
    const HRESULT joined = CoInitialize(NULL);
    IDxDiagProvider* provider = NULL;
    if (SUCCEEDED(CoCreateInstance(&kProviderClass, NULL, CLSCTX_INPROC_SERVER, &kProviderInterface,
                                   (void**)&provider))) {
        DXDIAG_INIT_PARAMS parameters = {0};
        parameters.dwSize = sizeof parameters;
        parameters.dwDxDiagHeaderVersion = kHeaderVersion;
        IDxDiagContainer* root = NULL;
        if (SUCCEEDED(IDxDiagProvider_Initialize(provider, &parameters)) &&
            SUCCEEDED(IDxDiagProvider_GetRootContainer(provider, &root))) {
            IDxDiagContainer* systemInfo = NULL;
            if (SUCCEEDED(
                    IDxDiagContainer_GetChildContainer(root, L"DxDiag_SystemInfo", &systemInfo))) {
                const ULONG major = ReadUnsigned(systemInfo, L"dwDirectXVersionMajor");
                const ULONG minor = ReadUnsigned(systemInfo, L"dwDirectXVersionMinor");
                const char letter = ReadLetter(systemInfo);
                snprintf(text, capacity, "%lu.%lu%c", major, minor, letter);
                IDxDiagContainer_Release(systemInfo);
            }
            IDxDiagContainer_Release(root);
        }
        IDxDiagProvider_Release(provider);
    }
    if (SUCCEEDED(joined))
        CoUninitialize();
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: dxdiag_timer.exe CALLS\n");
        return 2;
    }
    const int calls = atoi(argv[1]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int call = 1; call <= calls; ++call) {
        char version[32];
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        Query(version, sizeof version);
        QueryPerformanceCounter(&end);
        fprintf(stderr, "call %d %.0f %s\n", call,
                (double)(end.QuadPart - start.QuadPart) * 1e6 / (double)frequency.QuadPart,
                version);
    }
    return 0;
}
