#include "nsistumbra/dx_version.h"

#include "nsistumbra/bounded_string.h"
#include "nsistumbra/dxdiag_query.h"
#include "nsistumbra/file_version_table.h"

namespace nsistumbra {

namespace {

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
