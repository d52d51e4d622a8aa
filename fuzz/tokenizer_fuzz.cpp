// Command lines of any bytes: every token lies inside the text, in order, quoted or
// white-space delimited as documented, and nothing but white space and quotes is lost.
#include "hiscores/app/tokenizer.h"

#include "fuzz/check.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<char> original = Terminated(data, size);
    const std::size_t textLength = std::strlen(original.data());
    std::vector<char> text = original;

    static const char kProgram[] = "A:\\hiscores.exe";
    const char* tokens[hiscores::kTokenSlots];
    tokens[0] = kProgram;
    const int count = hiscores::TokenizeArguments(text.data(), tokens);
    FUZZ_CHECK(count >= 1 && count < hiscores::kTokenSlots);
    FUZZ_CHECK(tokens[0] == kProgram);
    FUZZ_CHECK(tokens[count] == nullptr);

    // Positions of the original text that a token or a quote around one accounts for.
    std::vector<bool> covered(textLength + 1, false);
    std::size_t previousEnd = 0;
    for (int index = 1; index < count; ++index) {
        FUZZ_CHECK(tokens[index] >= text.data() && tokens[index] <= text.data() + textLength);
        const auto start = static_cast<std::size_t>(tokens[index] - text.data());
        const std::size_t length = std::strlen(tokens[index]);
        FUZZ_CHECK(start >= previousEnd && start + length <= textLength);
        FUZZ_CHECK(std::memcmp(tokens[index], &original[start], length) == 0);
        // An opening quote stays in the text; a token that follows a closing quote sees
        // the NUL that replaced it.
        const bool quoted = start > 0 && text[start - 1] == '"';
        if (quoted) {
            FUZZ_CHECK(original[start + length] == '"');
            FUZZ_CHECK(std::memchr(tokens[index], '"', length) == nullptr);
            covered[start - 1] = true;
            covered[start + length] = true;
        } else {
            FUZZ_CHECK(length > 0);
            for (std::size_t at = start; at < start + length; ++at)
                FUZZ_CHECK(!IsSpace(original[at]));
            FUZZ_CHECK(original[start + length] == '\0' || IsSpace(original[start + length]));
        }
        for (std::size_t at = start; at < start + length; ++at)
            covered[at] = true;
        previousEnd = start + length + 1;
    }
    // With every slot used the rest of the text is dropped, so only look up to there.
    const std::size_t checkedLength =
        count == hiscores::kTokenSlots - 1 ? (previousEnd > 0 ? previousEnd - 1 : 0) : textLength;
    bool anyArgument = false;
    for (std::size_t at = 0; at < textLength; ++at) {
        if (at < checkedLength && !covered[at])
            FUZZ_CHECK(IsSpace(original[at]));
        anyArgument = anyArgument || !IsSpace(original[at]);
    }
    FUZZ_CHECK((count >= 2) == anyArgument);

    std::vector<char> again = original;
    FUZZ_CHECK(hiscores::IsSilentRun(again.data(), kProgram) == anyArgument);
    return 0;
}
