#pragma once

#include <cstdarg>
#include <cstddef>

namespace formatting {

// printf into a buffer of size bytes, always terminated when size is above 0. Returns
// the length of the whole formatted text, or a negative number on failure; a result of
// size or more means the text was cut.
int FormatText(char* buffer, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
int FormatTextList(char* buffer, std::size_t size, const char* format, va_list arguments);

} // namespace formatting
