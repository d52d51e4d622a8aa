#include "nsistumbra/dx_version.h"

#include "nsistumbra/bounded_string.h"
#include "nsistumbra/dxdiag_query.h"
#include "nsistumbra/file_version_table.h"

namespace nsistumbra {

namespace {

// The variant types the provider's answers count in, as COM numbers them.
constexpr std::uint16_t kUnsigned32 = 19; // VT_UI4
constexpr std::uint16_t kString = 8;      // VT_BSTR

bool TakeNumber(const DxDiagProperty& property, std::uint32_t* number) {
    if (!property.read || property.type != kUnsigned32)
        return false;
    if (number != nullptr)
        *number = property.value;
    return true;
}

bool TakeLetter(const DxDiagProperty& property, char* letter) {
    if (!property.read || property.type != kString || property.length == 0)
        return false;
    if (letter != nullptr)
        *letter = property.first;
    return true;
}

// "9.0c", or "9.0" when the letter is a space.
void FormatDxVersionText(char* text, std::size_t capacity, std::uint32_t major, std::uint32_t minor,
                         char letter) {
    const int shownMajor = static_cast<int>(major);
    const int shownMinor = static_cast<int>(minor);
    if (letter == ' ')
        FormatBounded(text, capacity, "%d.%d", shownMajor, shownMinor);
    else
        FormatBounded(text, capacity, "%d.%d%c", shownMajor, shownMinor, letter);
}

} // namespace

Status QueryVersionFromDxDiag(std::uint32_t* major, std::uint32_t* minor, char* letter) {
    DxDiagSystemInfo info;
    ReadDxDiagSystemInfo(&info);
    // Each is taken whatever the others gave.
    const bool majorTaken = TakeNumber(info.major, major);
    const bool minorTaken = TakeNumber(info.minor, minor);
    const bool letterTaken = TakeLetter(info.letter, letter);
    return majorTaken && minorTaken && letterTaken ? Status::kOk : Status::kFail;
}

void QueryDirectXVersion(PackedDxVersion* packed, char* text, int textCapacity) {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    char letter = ' ';
    // The file table writes all three, so what a failed provider wrote never shows.
    if (QueryVersionFromDxDiag(&major, &minor, &letter) != Status::kOk)
        QueryVersionFromFiles(&major, &minor, &letter);

    letter = LowerLetter(letter);
    if (packed != nullptr)
        *packed = PackDxVersion(major, minor, letter);
    if (text != nullptr && textCapacity > 0)
        FormatDxVersionText(text, static_cast<std::size_t>(textCapacity), major, minor, letter);
}

} // namespace nsistumbra
