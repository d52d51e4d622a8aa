// Copy, length, concatenation and formatted output with capacities and texts of any
// kind: nothing is read or written past the capacity, and results and status codes are
// the documented ones.
#include "nsistumbra/bounded_string.h"

#include "fuzz/check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using nsistumbra::Status;

template <class Char> using Text = std::basic_string<Char>;

// Characters of any value up to the first NUL.
template <class Char> Text<Char> ConsumeText(FuzzedDataProvider& input, std::size_t most) {
    return ConsumeCharacters<Char>(input, most).c_str();
}

// What a bounded write of text into capacity characters must leave and return.
template <class Char>
void CheckCut(const HeapBuffer<Char>& buffer, Status status, const Text<Char>& text) {
    FUZZ_CHECK(buffer.count > 0);
    const std::size_t kept = text.size() < buffer.count ? text.size() : buffer.count - 1;
    FUZZ_CHECK(text.substr(0, kept) == buffer.data);
    FUZZ_CHECK(status == (kept == text.size() ? Status::kOk : Status::kInsufficientBuffer));
}

template <class Char> void Copy(FuzzedDataProvider& input) {
    HeapBuffer<Char> buffer(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    const Text<Char> source = ConsumeText<Char>(input, 300);
    const Status status = nsistumbra::CopyBounded(buffer.data, buffer.count, source.c_str());
    if (buffer.count == 0)
        FUZZ_CHECK(status == Status::kInvalidArgument);
    else
        CheckCut(buffer, status, source);
}

template <class Char> void Length(FuzzedDataProvider& input) {
    HeapBuffer<Char> buffer(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    // Any contents, a terminator or not.
    for (std::size_t index = 0; index < buffer.count; ++index)
        buffer.data[index] = static_cast<Char>(input.ConsumeIntegralInRange<int>(0, 3));
    const auto terminator = static_cast<std::size_t>(
        std::find(buffer.data, buffer.data + buffer.count, 0) - buffer.data);
    std::size_t length = 12345;
    const Status status = nsistumbra::LengthBounded(buffer.data, buffer.count, &length);
    if (terminator == buffer.count) {
        FUZZ_CHECK(status == Status::kInvalidArgument && length == 12345);
    } else {
        FUZZ_CHECK(status == Status::kOk && length == terminator);
        FUZZ_CHECK(nsistumbra::LengthBounded(buffer.data, buffer.count,
                                             static_cast<std::size_t*>(nullptr)) == Status::kOk);
    }
}

template <class Char> void Concat(FuzzedDataProvider& input) {
    HeapBuffer<Char> buffer(input.ConsumeIntegralInRange<std::size_t>(0, 300));
    const Text<Char> start = ConsumeText<Char>(input, 300);
    const bool terminated = start.size() < buffer.count;
    for (std::size_t index = 0; index < buffer.count; ++index)
        buffer.data[index] = index < start.size() ? start[index] : Char(0);
    const Text<Char> source = ConsumeText<Char>(input, 300);
    const Status status = nsistumbra::ConcatBounded(buffer.data, buffer.count, source.c_str());
    if (terminated) {
        CheckCut(buffer, status, start + source);
    } else {
        FUZZ_CHECK(status == Status::kInvalidArgument);
        FUZZ_CHECK(start.compare(0, buffer.count, buffer.data, buffer.count) == 0);
    }
}

void Format(FuzzedDataProvider& input) {
    const bool beyondLimit = input.ConsumeIntegralInRange<int>(0, 31) == 0;
    HeapBuffer<char> buffer(input.ConsumeIntegralInRange<std::size_t>(0, 120));
    const std::size_t capacity = beyondLimit ? nsistumbra::kMaxFormatCapacity + 1 : buffer.count;
    const int major = input.ConsumeIntegral<int>();
    const int minor = input.ConsumeIntegral<int>();
    const char letter = input.ConsumeIntegralInRange<char>(1, 127);
    const std::string text = ConsumeText<char>(input, 200);
    // The formats the plug-in writes, and a text of any length, each also written by the
    // C library for the expected text.
    char expected[512];
    const auto formatBoth = [&](const char* format, auto... arguments) {
        std::snprintf(expected, sizeof expected, format, arguments...);
        return nsistumbra::FormatBounded(buffer.data, capacity, format, arguments...);
    };
    const int which = input.ConsumeIntegralInRange<int>(0, 2);
    const Status status = which == 0   ? formatBoth("%d.%d", major, minor)
                          : which == 1 ? formatBoth("%d.%d%c", major, minor, letter)
                                       : formatBoth("%s|%x", text.c_str(), minor);
    if (beyondLimit || buffer.count == 0) {
        FUZZ_CHECK(status == Status::kInvalidArgument);
        FUZZ_CHECK(buffer.Unwritten());
    } else {
        CheckCut(buffer, status, std::string(expected));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    constexpr void (*kOperations[])(FuzzedDataProvider&) = {
        Copy<char>,       Length<char>,     Concat<char>, Copy<char16_t>,
        Length<char16_t>, Concat<char16_t>, Format};
    input.PickValueInArray(kOperations)(input);
    return 0;
}
