#include "nsistumbra/bounded_string.h"

#include <cstdarg>
#include <cstdio>

#ifdef _WIN32
// C99 semantics over the C runtime's own formatter; MinGW's full printf, which C++
// selects by default, would more than double the plug-in.
extern "C" int __cdecl __ms_vsnprintf(char*, std::size_t, const char*, va_list);
#endif

namespace nsistumbra {

namespace {

#ifdef _WIN32
int FormatArguments(char* destination, std::size_t capacity, const char* format,
                    va_list arguments) {
    return __ms_vsnprintf(destination, capacity, format, arguments);
}
#else
int FormatArguments(char* destination, std::size_t capacity, const char* format,
                    va_list arguments) {
    return vsnprintf(destination, capacity, format, arguments);
}
#endif

} // namespace

Status FormatBounded(char* destination, std::size_t capacity, const char* format, ...) {
    if (capacity == 0 || capacity > kMaxFormatCapacity)
        return E_INVALIDARG;
    va_list arguments;
    va_start(arguments, format);
    const int needed = FormatArguments(destination, capacity, format, arguments);
    va_end(arguments);
    destination[capacity - 1] = '\0';
    if (needed < 0) {
        destination[0] = '\0';
        return E_FAIL;
    }
    return static_cast<std::size_t>(needed) < capacity ? S_OK : kInsufficientBuffer;
}

} // namespace nsistumbra
