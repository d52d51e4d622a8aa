#include "nsistumbra/bounded_string.h"

#include "formatting/format_text.h"

#include <cstdarg>

namespace nsistumbra {

Status FormatBounded(char* destination, std::size_t capacity, const char* format, ...) {
    if (capacity == 0 || capacity > kMaxFormatCapacity)
        return Status::kInvalidArgument;
    va_list arguments;
    va_start(arguments, format);
    const int needed = formatting::FormatTextList(destination, capacity, format, arguments);
    va_end(arguments);
    if (needed < 0) {
        destination[0] = '\0';
        return Status::kFail;
    }
    return static_cast<std::size_t>(needed) < capacity ? Status::kOk : Status::kInsufficientBuffer;
}

} // namespace nsistumbra
