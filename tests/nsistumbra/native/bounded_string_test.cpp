#include "nsistumbra/bounded_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

namespace nsistumbra {
namespace {

constexpr char kGuard = '#';
// The status values written out: callers compare with these numbers.
constexpr auto kCut = static_cast<Status>(0x8007007A);
constexpr auto kInvalid = static_cast<Status>(0x80070057);
constexpr Status kOk = static_cast<Status>(0);

enum class Operation { kCopy, kConcat, kFormat };

struct WriteCase {
    Operation operation;
    std::string_view start; // the buffer's first bytes; guards after them
    std::size_t capacity;
    const char* source; // kFormat always writes 9, 0 and 'c' as "%d.%d%c"
    Status status;
    const char* expected; // the text within the capacity; null when nothing may change
};

TEST(BoundedWrite, CutsAndTerminatesWithinCapacity) {
    using enum Operation;
    constexpr std::string_view kAb("ab", 3);
    const WriteCase cases[] = {
        {kCopy, "", 4, "abc", kOk, "abc"}, // exactly full
        {kCopy, "", 3, "abc", kCut, "ab"}, // one short
        {kCopy, "", 1, "abc", kCut, ""},   // room for the terminator only
        {kCopy, "", 1, "", kOk, ""},
        {kCopy, "", 8, "abc", kOk, "abc"},
        {kCopy, "", 0, "abc", kInvalid, nullptr},
        {kConcat, kAb, 5, "cd", kOk, "abcd"},
        {kConcat, kAb, 4, "cd", kCut, "abc"},
        {kConcat, kAb, 3, "cd", kCut, "ab"},
        {kConcat, "abcd", 4, "x", kInvalid, nullptr}, // no terminator within the capacity
        {kFormat, "", 5, nullptr, kOk, "9.0c"},
        {kFormat, "", 4, nullptr, kCut, "9.0"},
        {kFormat, "", 3, nullptr, kCut, "9."},
        {kFormat, "", 1, nullptr, kCut, ""},
        {kFormat, "", 0, nullptr, kInvalid, nullptr},
        {kFormat, "", kMaxFormatCapacity + 1, nullptr, kInvalid, nullptr},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << static_cast<int>(c.operation) << " \"" << c.start << "\" " << c.capacity);
        char buffer[16];
        std::memset(buffer, kGuard, sizeof buffer);
        std::memcpy(buffer, c.start.data(), c.start.size());
        const Status status = c.operation == kCopy ? CopyBounded(buffer, c.capacity, c.source)
                              : c.operation == kConcat
                                  ? ConcatBounded(buffer, c.capacity, c.source)
                                  : FormatBounded(buffer, c.capacity, "%d.%d%c", 9, 0, 'c');
        EXPECT_EQ(status, c.status);
        const std::size_t kept = c.expected ? c.capacity : c.start.size();
        if (c.expected != nullptr)
            EXPECT_STREQ(buffer, c.expected);
        else
            EXPECT_EQ(std::string_view(buffer, kept), c.start);
        EXPECT_EQ(std::string_view(buffer + kept, sizeof buffer - kept),
                  std::string(sizeof buffer - kept, kGuard));
    }
}

TEST(BoundedWrite, CopyWorksOnSixteenBitTexts) {
    char16_t buffer[3];
    EXPECT_EQ(CopyBounded(buffer, 3, u"sorry"), kCut);
    EXPECT_EQ(std::u16string_view(buffer), std::u16string_view(u"so"));
}

TEST(BoundedLength, NeedsTerminatorWithinCapacity) {
    std::size_t length = 99;
    EXPECT_EQ(LengthBounded("abc", 4, &length), kOk);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(LengthBounded("abc", 4, nullptr), kOk);

    const char unterminated[3] = {'a', 'b', 'c'};
    length = 99;
    EXPECT_EQ(LengthBounded(unterminated, sizeof unterminated, &length), kInvalid);
    EXPECT_EQ(LengthBounded("abc", 0, &length), kInvalid);
    EXPECT_EQ(length, 99u);
}

} // namespace
} // namespace nsistumbra
