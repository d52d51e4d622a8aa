#pragma once

#include "nsistumbra/dx_version.h"
#include "nsistumbra/hex_requirement.h"
#include "nsistumbra/nsis_stack.h"
#include "nsistumbra/status.h"

#include <cstddef>
#include <cstdint>

// What the exports do, apart from the host's calling convention: the verdicts of
// needdxver on the NSIS stack and the result of needdxver2.
namespace nsistumbra {

enum class Verdict { Ok, Sorry, Err, Err2 };

Verdict DecideVerdict(Status query, PackedDxVersion installed, PackedDxVersion required);

// 1 met, 0 not met, -1 when the query failed or found nothing.
int DecideNeedDxVer2(Status query, PackedDxVersion installed, PackedDxVersion required);

// needdxver2: the requirement as 8-bit hexadecimal text in every flavour; absent reads as 0.
int NeedDxVer2(const char* requirement);

// The platform id the system reports for the Windows NT family.
constexpr std::uint32_t kNtPlatformId = 2;

// thisiswinnt2: 1 when the system's version was read and names the NT family, else 0.
constexpr int DecideWinNt(bool versionRead, std::uint32_t platformId) {
    return versionRead && platformId == kNtPlatformId ? 1 : 0;
}

template <class Char, std::size_t Size> struct VerdictText { Char text[Size]; };

template <class Char, std::size_t Size>
constexpr VerdictText<Char, Size> Widen(const char (&text)[Size]) {
    VerdictText<Char, Size> widened{};
    for (std::size_t index = 0; index < Size; ++index)
        widened.text[index] = static_cast<Char>(text[index]);
    return widened;
}

template <class Char> constexpr auto kVerdictOk = Widen<Char>("ok");
template <class Char> constexpr auto kVerdictSorry = Widen<Char>("sorry");
template <class Char> constexpr auto kVerdictErr = Widen<Char>("err");
template <class Char> constexpr auto kVerdictErr2 = Widen<Char>("err2");

template <class Char> constexpr const Char* TextOf(Verdict verdict) {
    switch (verdict) {
    case Verdict::Ok:
        return kVerdictOk<Char>.text;
    case Verdict::Sorry:
        return kVerdictSorry<Char>.text;
    case Verdict::Err:
        return kVerdictErr<Char>.text;
    case Verdict::Err2:
        return kVerdictErr2<Char>.text;
    }
    return kVerdictErr<Char>.text;
}

// needdxver: pops the requirement and the entry below it, pushes the verdict.
template <class Char> void NeedDxVer(const HostStack<Char>& stack) {
    Char required[kPluginTextCapacity];
    Char discarded[kPluginTextCapacity];
    if (PopStackString(stack, required, kPluginTextCapacity) != 0 ||
        PopStackString(stack, discarded, kPluginTextCapacity) != 0) {
        PushStackString(stack, TextOf<Char>(Verdict::Err));
        return;
    }
    // The text is formatted (capacity 99 of 100) and dropped: the plug-in always has.
    char versionText[kPluginTextCapacity];
    PackedDxVersion installed = 0;
    const Status query = QueryDirectXVersion(&installed, versionText, kPluginTextCapacity - 1);
    const Verdict verdict = DecideVerdict(query, installed, ReadHexRequirement(required));
    PushStackString(stack, TextOf<Char>(verdict));
}

} // namespace nsistumbra
