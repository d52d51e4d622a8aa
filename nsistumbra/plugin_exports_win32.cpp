#include <windows.h>

#include "nsistumbra/plugin_calls.h"

// Built once per installer flavour: the Unicode installers keep UTF-16 stack texts.
#ifdef UNICODE
using PluginChar = wchar_t;
#else
using PluginChar = char;
#endif

namespace {

// Recorded by each call of a plug-in function; the host calls the exports one at a time.
nsistumbra::HostStack<PluginChar> hostStack;

} // namespace

static_assert(nsistumbra::kNtPlatformId == VER_PLATFORM_WIN32_NT);

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

void __cdecl needdxver(HWND, int stringSize, PluginChar*, nsistumbra::StackEntry** stackTop,
                       void*) {
    hostStack = {stringSize, stackTop};
    nsistumbra::NeedDxVer(hostStack);
}

void __cdecl dxversion(HWND, int stringSize, PluginChar*, nsistumbra::StackEntry** stackTop,
                       void*) {
    hostStack = {stringSize, stackTop};
    nsistumbra::DxVersion(hostStack);
}

int __cdecl needdxver2(const char* requirement) {
    return nsistumbra::NeedDxVer2(requirement);
}

int __cdecl thisiswinnt2() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    const bool read = GetVersionExA(&info) != 0;
    return nsistumbra::DecideWinNt(read, info.dwPlatformId);
}

} // extern "C"

namespace {

// The host removes the arguments itself. Bound to the pointer types it calls through, an
// export declared with another calling convention does not build for i686.
using PluginFunction = void(__cdecl*)(HWND, int, PluginChar*, nsistumbra::StackEntry**, void*);
[[maybe_unused]] constexpr PluginFunction kPluginFunctions[] = {needdxver, dxversion};
[[maybe_unused]] constexpr int(__cdecl* kRequirementCheck)(const char*) = needdxver2;
[[maybe_unused]] constexpr int(__cdecl* kPlatformCheck)() = thisiswinnt2;

} // namespace
