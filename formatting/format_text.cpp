#include "formatting/format_text.h"

#include <cstdio>

#ifdef _WIN32
// C99 results over the C runtime's own formatter; the MinGW printf that C++ selects by
// default would more than double both deliverables.
extern "C" int __cdecl __ms_vsnprintf(char*, std::size_t, const char*, va_list);
#endif

namespace formatting {

int FormatTextList(char* buffer, std::size_t size, const char* format, va_list arguments) {
#ifdef _WIN32
    const int length = __ms_vsnprintf(buffer, size, format, arguments);
#else
    const int length = vsnprintf(buffer, size, format, arguments);
#endif
    if (size > 0 && (length < 0 || static_cast<std::size_t>(length) >= size))
        buffer[size - 1] = '\0';
    return length;
}

int FormatText(char* buffer, std::size_t size, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int length = FormatTextList(buffer, size, format, arguments);
    va_end(arguments);
    return length;
}

} // namespace formatting
