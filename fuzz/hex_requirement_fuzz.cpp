// Required versions of any text, in both character widths: the reader agrees with the
// C library's hexadecimal conversion, saturates beyond 32 bits, and never reads past
// the terminator.
#include "nsistumbra/hex_requirement.h"

#include "fuzz/check.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::uint32_t Expected(const char* text) {
    const char* signAt = text;
    while (std::isspace(static_cast<unsigned char>(*signAt)))
        ++signAt;
    const bool negative = *signAt == '-';
    errno = 0;
    const unsigned long long converted = std::strtoull(text, nullptr, 16);
    if (errno == ERANGE)
        return 0xFFFFFFFFu;
    const unsigned long long magnitude = negative ? 0ull - converted : converted;
    if (magnitude > 0xFFFFFFFFull)
        return 0xFFFFFFFFu;
    const auto value = static_cast<std::uint32_t>(magnitude);
    return negative ? 0u - value : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<char> narrow = Terminated(data, size);
    const std::uint32_t read = nsistumbra::ReadHexRequirement(narrow.data());
    FUZZ_CHECK(read == Expected(narrow.data()));

    // The same bytes as 16-bit characters read the same.
    std::vector<char16_t> widened;
    for (std::size_t index = 0; index <= std::strlen(narrow.data()); ++index)
        widened.push_back(static_cast<unsigned char>(narrow[index]));
    FUZZ_CHECK(nsistumbra::ReadHexRequirement(widened.data()) == read);

    // Byte pairs as 16-bit characters: one beyond ASCII is no digit, however its low
    // byte reads.
    std::vector<char16_t> wide;
    std::string asNarrow;
    for (std::size_t index = 0; index + 1 < size; index += 2) {
        const auto unit = static_cast<char16_t>(data[index] | data[index + 1] << 8);
        if (unit == 0)
            break;
        wide.push_back(unit);
        asNarrow += unit < 0x80 ? static_cast<char>(unit) : '\x01';
    }
    wide.push_back(0);
    FUZZ_CHECK(nsistumbra::ReadHexRequirement(wide.data()) ==
               nsistumbra::ReadHexRequirement(asNarrow.c_str()));
    FUZZ_CHECK(nsistumbra::ReadHexRequirement(static_cast<const char*>(nullptr)) == 0);
    return 0;
}
