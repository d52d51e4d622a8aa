#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

// A broken property aborts, so libFuzzer keeps the input that broke it. Not assert():
// the fuzz build defines NDEBUG.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// Exactly count elements on the heap, every byte a marker, so ASan sees any access past
// them and a check can tell whether any was written.
template <class T> struct HeapBuffer {
    static constexpr unsigned char kUnwritten = 0xA5;
    explicit HeapBuffer(std::size_t count)
        : count(count), data(static_cast<T*>(std::malloc(count * sizeof(T)))) {
        std::memset(data, kUnwritten, count * sizeof(T));
    }
    ~HeapBuffer() { std::free(data); }
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;
    bool Unwritten() const {
        const auto* bytes = reinterpret_cast<const unsigned char*>(data);
        return std::all_of(bytes, bytes + count * sizeof(T),
                           [](unsigned char byte) { return byte == kUnwritten; });
    }
    std::size_t count;
    T* data;
};

// Exactly the input and its terminator, so a read past the end is caught.
inline std::vector<char> Terminated(const std::uint8_t* data, std::size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    return text;
}

// Up to most characters of any value, NULs included.
template <class Char>
std::basic_string<Char> ConsumeCharacters(FuzzedDataProvider& input, std::size_t most) {
    std::basic_string<Char> text;
    const auto length = input.ConsumeIntegralInRange<std::size_t>(0, most);
    for (std::size_t index = 0; index < length && input.remaining_bytes() > 0; ++index)
        text += static_cast<Char>(input.ConsumeIntegral<std::make_unsigned_t<Char>>());
    return text;
}
