#include "hiscores/app/tokenizer.h"

#include <cstring>

namespace hiscores {

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

int TokenizeArguments(char* text, const char* (&tokens)[kTokenSlots]) {
    int count = 1;
    char* cursor = text;
    while (count < kTokenSlots - 1) {
        while (IsWhiteSpace(*cursor))
            ++cursor;
        if (*cursor == '\0')
            break;
        char* closingQuote = *cursor == '"' ? strchr(cursor + 1, '"') : nullptr;
        if (closingQuote != nullptr) {
            tokens[count++] = cursor + 1;
            *closingQuote = '\0';
            cursor = closingQuote + 1;
            continue;
        }
        tokens[count++] = cursor;
        while (*cursor != '\0' && !IsWhiteSpace(*cursor))
            ++cursor;
        if (*cursor != '\0')
            *cursor++ = '\0';
    }
    tokens[count] = nullptr;
    return count;
}

bool IsSilentRun(char* argumentText, const char* programPath) {
    const char* tokens[kTokenSlots];
    tokens[0] = programPath;
    return TokenizeArguments(argumentText, tokens) >= 2;
}

} // namespace hiscores
