// Copy, length, concatenation and formatted output with capacities and texts of any
// kind: nothing is read or written past the capacity, and results and status codes are
// the documented ones.
#include "nsistumbra/bounded_string.h"

#include "fuzz/check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

namespace {

using nsistumbra::Status;

constexpr unsigned char kUnwritten = 0xA5;

// A buffer of exactly capacity characters on the heap, so ASan sees any access past it.
template <class Char> struct Buffer {
    explicit Buffer(std::size_t capacity) : capacity(capacity) {
        characters = static_cast<Char*>(std::malloc(capacity * sizeof(Char)));
        std::memset(characters, kUnwritten, capacity * sizeof(Char));
    }
    ~Buffer() { std::free(characters); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    bool Unwritten() const {
        const auto* bytes = reinterpret_cast<const unsigned char*>(characters);
        for (std::size_t index = 0; index < capacity * sizeof(Char); ++index)
            if (bytes[index] != kUnwritten)
                return false;
        return true;
    }
    std::size_t capacity;
    Char* characters;
};

template <class Char>
std::basic_string<Char> ConsumeText(FuzzedDataProvider& input, std::size_t most) {
    std::basic_string<Char> text;
    const auto length = input.ConsumeIntegralInRange<std::size_t>(0, most);
    for (std::size_t index = 0; index < length && input.remaining_bytes() > 0; ++index)
        text += static_cast<Char>(input.ConsumeIntegral<std::make_unsigned_t<Char>>());
    return text.substr(0, text.find(Char(0)));
}

// What a bounded write of text into capacity characters must leave and return.
template <class Char>
void CheckCut(const Buffer<Char>& buffer, Status status, const std::basic_string<Char>& text) {
    FUZZ_CHECK(buffer.capacity > 0);
    const std::size_t kept = text.size() < buffer.capacity ? text.size() : buffer.capacity - 1;
    FUZZ_CHECK(text.substr(0, kept) == buffer.characters);
    FUZZ_CHECK(status == (kept == text.size() ? Status::kOk : Status::kInsufficientBuffer));
}

template <class Char> void Copy(FuzzedDataProvider& input) {
    Buffer<Char> buffer(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    const std::basic_string<Char> source = ConsumeText<Char>(input, 300);
    const Status status =
        nsistumbra::CopyBounded(buffer.characters, buffer.capacity, source.c_str());
    if (buffer.capacity == 0)
        FUZZ_CHECK(status == Status::kInvalidArgument);
    else
        CheckCut(buffer, status, source);
}

template <class Char> void Length(FuzzedDataProvider& input) {
    Buffer<Char> buffer(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    // Any contents, a terminator or not.
    std::size_t terminator = buffer.capacity;
    for (std::size_t index = 0; index < buffer.capacity; ++index) {
        buffer.characters[index] = static_cast<Char>(input.ConsumeIntegralInRange<int>(0, 3));
        if (buffer.characters[index] == 0 && terminator == buffer.capacity)
            terminator = index;
    }
    std::size_t length = 12345;
    const Status status = nsistumbra::LengthBounded(buffer.characters, buffer.capacity, &length);
    if (terminator == buffer.capacity) {
        FUZZ_CHECK(status == Status::kInvalidArgument && length == 12345);
    } else {
        FUZZ_CHECK(status == Status::kOk && length == terminator);
        FUZZ_CHECK(nsistumbra::LengthBounded(buffer.characters, buffer.capacity,
                                             static_cast<std::size_t*>(nullptr)) == Status::kOk);
    }
}

template <class Char> void Concat(FuzzedDataProvider& input) {
    Buffer<Char> buffer(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    const std::basic_string<Char> start = ConsumeText<Char>(input, 300);
    const bool terminated = start.size() < buffer.capacity;
    for (std::size_t index = 0; index < buffer.capacity; ++index)
        buffer.characters[index] = index < start.size() ? start[index] : Char(0);
    const std::basic_string<Char> source = ConsumeText<Char>(input, 300);
    const Status status =
        nsistumbra::ConcatBounded(buffer.characters, buffer.capacity, source.c_str());
    if (!terminated) {
        FUZZ_CHECK(status == Status::kInvalidArgument);
        for (std::size_t index = 0; index < buffer.capacity; ++index)
            FUZZ_CHECK(buffer.characters[index] == start[index]);
    } else {
        CheckCut(buffer, status, start + source);
    }
}

void Format(FuzzedDataProvider& input) {
    const bool beyondLimit = input.ConsumeIntegralInRange<int>(0, 31) == 0;
    Buffer<char> buffer(input.ConsumeIntegralInRange<std::size_t>(0, 120));
    const std::size_t capacity = beyondLimit ? nsistumbra::kMaxFormatCapacity + 1 : buffer.capacity;
    const int major = input.ConsumeIntegral<int>();
    const int minor = input.ConsumeIntegral<int>();
    const char letter = input.ConsumeIntegralInRange<char>(1, 127);
    const std::string text = ConsumeText<char>(input, 200);
    // The formats the plug-in writes, and a text of any length.
    char expected[512];
    Status status;
    switch (input.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
        status = nsistumbra::FormatBounded(buffer.characters, capacity, "%d.%d", major, minor);
        std::snprintf(expected, sizeof expected, "%d.%d", major, minor);
        break;
    case 1:
        status =
            nsistumbra::FormatBounded(buffer.characters, capacity, "%d.%d%c", major, minor, letter);
        std::snprintf(expected, sizeof expected, "%d.%d%c", major, minor, letter);
        break;
    default:
        status =
            nsistumbra::FormatBounded(buffer.characters, capacity, "%s|%x", text.c_str(), minor);
        std::snprintf(expected, sizeof expected, "%s|%x", text.c_str(), minor);
        break;
    }
    if (beyondLimit || buffer.capacity == 0) {
        FUZZ_CHECK(status == Status::kInvalidArgument);
        FUZZ_CHECK(buffer.Unwritten());
    } else {
        CheckCut(buffer, status, std::string(expected));
    }
}

template <class Char> void Run(FuzzedDataProvider& input, int operation) {
    switch (operation) {
    case 0:
        Copy<Char>(input);
        break;
    case 1:
        Length<Char>(input);
        break;
    default:
        Concat<Char>(input);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int operation = input.ConsumeIntegralInRange<int>(0, 6);
    if (operation == 6)
        Format(input);
    else if (operation >= 3)
        Run<char16_t>(input, operation - 3);
    else
        Run<char>(input, operation);
    return 0;
}
