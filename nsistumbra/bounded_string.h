#pragma once

#include "nsistumbra/status.h"

#include <cstddef>

// Bounded string operations. Every capacity counts characters, the terminating NUL
// included; no operation writes past it.
namespace nsistumbra {

// Copies up to capacity - 1 characters and always terminates. kInsufficientBuffer when
// the source was cut, kInvalidArgument (nothing written) for capacity 0.
template <class Char>
Status CopyBounded(Char* destination, std::size_t capacity, const Char* source) {
    if (capacity == 0)
        return Status::kInvalidArgument;
    std::size_t copied = 0;
    while (copied + 1 < capacity && source[copied] != 0) {
        destination[copied] = source[copied];
        ++copied;
    }
    destination[copied] = 0;
    return source[copied] == 0 ? Status::kOk : Status::kInsufficientBuffer;
}

// The number of characters before the NUL; kInvalidArgument when there is no NUL among
// the first capacity characters. The length location may be absent.
template <class Char>
Status LengthBounded(const Char* text, std::size_t capacity, std::size_t* length) {
    for (std::size_t index = 0; index < capacity; ++index) {
        if (text[index] == 0) {
            if (length != nullptr)
                *length = index;
            return Status::kOk;
        }
    }
    return Status::kInvalidArgument;
}

// Appends the source behind the destination's text, bounded like CopyBounded.
template <class Char>
Status ConcatBounded(Char* destination, std::size_t capacity, const Char* source) {
    std::size_t used = 0;
    const Status measured = LengthBounded(destination, capacity, &used);
    if (measured != Status::kOk)
        return measured;
    return CopyBounded(destination + used, capacity - used, source);
}

constexpr std::size_t kMaxFormatCapacity = 0x7FFFFFFF;

// printf-style output cut to capacity - 1 characters and terminated; kInsufficientBuffer
// when cut, kInvalidArgument for capacity 0 or above kMaxFormatCapacity.
Status FormatBounded(char* destination, std::size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

} // namespace nsistumbra
