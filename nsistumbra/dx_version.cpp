#include "nsistumbra/dx_version.h"

#include "nsistumbra/bounded_string.h"
#include "nsistumbra/dxdiag_query.h"
#include "nsistumbra/file_version_table.h"

namespace nsistumbra {

Status FormatDxVersionText(char* text, std::size_t capacity, std::uint32_t major,
                           std::uint32_t minor, char letter) {
    const int shownMajor = static_cast<int>(major);
    const int shownMinor = static_cast<int>(minor);
    if (letter == ' ')
        return FormatBounded(text, capacity, "%d.%d", shownMajor, shownMinor);
    return FormatBounded(text, capacity, "%d.%d%c", shownMajor, shownMinor, LowerLetter(letter));
}

Status QueryDirectXVersion(PackedDxVersion* packed, char* text, int textCapacity) {
    const bool wantsText = text != nullptr && textCapacity > 0;
    if (packed != nullptr)
        *packed = 0;
    if (wantsText)
        text[0] = '\0';

    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    char letter = ' ';
    if (Failed(QueryVersionFromDxDiag(&major, &minor, &letter)) &&
        Failed(QueryVersionFromFiles(&major, &minor, &letter)))
        return E_FAIL;

    letter = LowerLetter(letter);
    if (packed != nullptr)
        *packed = PackDxVersion(major, minor, letter);
    if (wantsText)
        FormatDxVersionText(text, static_cast<std::size_t>(textCapacity), major, minor, letter);
    return S_OK;
}

} // namespace nsistumbra
