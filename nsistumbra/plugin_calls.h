#pragma once

#include "nsistumbra/dx_version.h"
#include "nsistumbra/hex_requirement.h"
#include "nsistumbra/nsis_stack.h"

#include <cstddef>
#include <cstdint>

// What the exports do, apart from the host's calling convention: needdxver's verdict and
// dxversion's text on the NSIS stack, and the results of needdxver2 and thisiswinnt2.
namespace nsistumbra {

// The installed version as every export asks for it: the text formatted with capacity
// 99 into its 100 characters.
PackedDxVersion QueryInstalledVersion(char (&text)[kPluginTextCapacity]);

// needdxver2: the requirement as 8-bit hexadecimal text in every flavour; absent reads as
// 0. 1 met, 0 not met, -1 when nothing was found.
int NeedDxVer2(const char* requirement);

// The platform id the system reports for the Windows NT family.
constexpr std::uint32_t kNtPlatformId = 2;

// thisiswinnt2: 1 when the system's version was read and names the NT family, else 0.
constexpr int DecideWinNt(bool versionRead, std::uint32_t platformId) {
    return versionRead && platformId == kNtPlatformId ? 1 : 0;
}

enum class Verdict { kOk, kSorry, kErr };

constexpr const char* TextOf(Verdict verdict) {
    switch (verdict) {
    case Verdict::kOk:
        return "ok";
    case Verdict::kSorry:
        return "sorry";
    case Verdict::kErr:
        return "err";
    }
    return "err";
}

// Pushes an 8-bit text in the stack's width. The plug-in's texts are ASCII; a byte beyond
// it (only from an unusual provider letter) widens as Latin-1.
template <class Char> void PushText(const HostStack<Char>& stack, const char* text) {
    Char widened[kPluginTextCapacity];
    std::size_t index = 0;
    for (; index + 1 < kPluginTextCapacity && text[index] != 0; ++index)
        widened[index] = static_cast<Char>(static_cast<unsigned char>(text[index]));
    widened[index] = 0;
    PushStackString(stack, widened);
}

// needdxver: pops the requirement and the entry below it, pushes the verdict.
template <class Char> void NeedDxVer(const HostStack<Char>& stack) {
    Char required[kPluginTextCapacity];
    Char discarded[kPluginTextCapacity];
    if (PopStackString(stack, required, kPluginTextCapacity) != 0 ||
        PopStackString(stack, discarded, kPluginTextCapacity) != 0) {
        PushText(stack, TextOf(Verdict::kErr));
        return;
    }
    char version[kPluginTextCapacity];
    const bool older = QueryInstalledVersion(version) < ReadHexRequirement(required);
    PushText(stack, TextOf(older ? Verdict::kSorry : Verdict::kOk));
}

// dxversion: pushes the installed version's text and takes nothing.
template <class Char> void DxVersion(const HostStack<Char>& stack) {
    char version[kPluginTextCapacity];
    QueryInstalledVersion(version);
    PushText(stack, version);
}

} // namespace nsistumbra
