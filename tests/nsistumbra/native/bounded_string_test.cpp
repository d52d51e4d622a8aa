#include "nsistumbra/bounded_string.h"

#include <gtest/gtest.h>

#include <cstring>

namespace nsistumbra {
namespace {

constexpr char kGuard = '#';
// ERROR_INSUFFICIENT_BUFFER as a status code, written out: callers compare with this value.
constexpr Status kCutStatus = static_cast<Status>(0x8007007Au);

// A buffer whose bytes beyond the given capacity must stay untouched.
struct GuardedBuffer {
    char bytes[16];
    GuardedBuffer() { std::memset(bytes, kGuard, sizeof bytes); }
    bool UntouchedFrom(std::size_t index) const {
        for (; index < sizeof bytes; ++index)
            if (bytes[index] != kGuard)
                return false;
        return true;
    }
};

struct CopyCase {
    std::size_t capacity;
    const char* source;
    Status status;
    const char* expected;
};

TEST(BoundedCopy, CutsAndTerminatesWithinCapacity) {
    const CopyCase cases[] = {
        {4, "abc", S_OK, "abc"},      // exactly full
        {3, "abc", kCutStatus, "ab"}, // one short
        {1, "abc", kCutStatus, ""},   // room for the terminator only
        {1, "", S_OK, ""},
        {8, "abc", S_OK, "abc"},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.capacity);
        GuardedBuffer buffer;
        EXPECT_EQ(CopyBounded(buffer.bytes, c.capacity, c.source), c.status);
        EXPECT_STREQ(buffer.bytes, c.expected);
        EXPECT_TRUE(buffer.UntouchedFrom(c.capacity));
    }
}

TEST(BoundedCopy, CapacityZeroWritesNothing) {
    GuardedBuffer buffer;
    EXPECT_EQ(CopyBounded(buffer.bytes, 0, "abc"), E_INVALIDARG);
    EXPECT_TRUE(buffer.UntouchedFrom(0));
}

TEST(BoundedCopy, WorksOnSixteenBitTexts) {
    char16_t buffer[3];
    EXPECT_EQ(CopyBounded(buffer, 3, u"sorry"), kCutStatus);
    EXPECT_EQ(std::u16string_view(buffer), std::u16string_view(u"so"));
}

TEST(BoundedLength, NeedsTerminatorWithinCapacity) {
    std::size_t length = 99;
    EXPECT_EQ(LengthBounded("abc", 4, &length), S_OK);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(LengthBounded("abc", 4, nullptr), S_OK);

    const char unterminated[3] = {'a', 'b', 'c'};
    length = 99;
    EXPECT_EQ(LengthBounded(unterminated, sizeof unterminated, &length), E_INVALIDARG);
    EXPECT_EQ(LengthBounded("abc", 0, &length), E_INVALIDARG);
    EXPECT_EQ(length, 99u);
}

TEST(BoundedConcat, AppendsBehindTextAndCutsAtCapacity) {
    const CopyCase cases[] = {
        {5, "cd", S_OK, "abcd"},
        {4, "cd", kCutStatus, "abc"},
        {3, "cd", kCutStatus, "ab"},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.capacity);
        GuardedBuffer buffer;
        std::memcpy(buffer.bytes, "ab", 3);
        EXPECT_EQ(ConcatBounded(buffer.bytes, c.capacity, c.source), c.status);
        EXPECT_STREQ(buffer.bytes, c.expected);
        EXPECT_TRUE(buffer.UntouchedFrom(c.capacity));
    }
}

TEST(BoundedConcat, DestinationWithoutTerminatorIsRejectedUnchanged) {
    GuardedBuffer buffer;
    std::memcpy(buffer.bytes, "abcd", 4);
    EXPECT_EQ(ConcatBounded(buffer.bytes, 4, "x"), E_INVALIDARG);
    EXPECT_EQ(std::memcmp(buffer.bytes, "abcd", 4), 0);
    EXPECT_TRUE(buffer.UntouchedFrom(4));
}

TEST(BoundedFormat, CutsAndTerminatesWithinCapacity) {
    const CopyCase cases[] = {
        {5, nullptr, S_OK, "9.0c"},
        {4, nullptr, kCutStatus, "9.0"},
        {3, nullptr, kCutStatus, "9."},
        {1, nullptr, kCutStatus, ""},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.capacity);
        GuardedBuffer buffer;
        EXPECT_EQ(FormatBounded(buffer.bytes, c.capacity, "%d.%d%c", 9, 0, 'c'), c.status);
        EXPECT_STREQ(buffer.bytes, c.expected);
        EXPECT_TRUE(buffer.UntouchedFrom(c.capacity));
    }
}

TEST(BoundedFormat, RejectsCapacityZeroAndAboveSignedRange) {
    GuardedBuffer buffer;
    EXPECT_EQ(FormatBounded(buffer.bytes, 0, "%d", 1), E_INVALIDARG);
    EXPECT_EQ(FormatBounded(buffer.bytes, kMaxFormatCapacity + 1, "%d", 1), E_INVALIDARG);
    EXPECT_TRUE(buffer.UntouchedFrom(0));
}

} // namespace
} // namespace nsistumbra
