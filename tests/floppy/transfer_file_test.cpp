#include "hiscores/floppy/transfer_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace hiscores {
namespace {

using namespace std::string_literals;

std::string Repeat(const std::string& piece, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += piece;
    return repeated;
}

void FillText(char (&text)[kHiscoreTextSize], const std::string& content) {
    ASSERT_LT(content.size(), sizeof text);
    memcpy(text, content.c_str(), content.size() + 1);
}

std::string Encode(const std::string& content) {
    char text[kHiscoreTextSize];
    FillText(text, content);
    static char bytes[kLongestTransferFile];
    return std::string(bytes, EncodeTransferText(text, bytes));
}

// Whether the text fits, and the text, from the file bytes fed in pieces of pieceSize, as
// reads of that size would feed them.
std::pair<bool, std::string> Decode(const std::string& file, size_t pieceSize) {
    char text[kHiscoreTextSize];
    TransferTextDecoder decoder;
    StartTransferText(decoder, text);
    for (size_t at = 0; at < file.size(); at += pieceSize)
        DecodeTransferBytes(decoder, file.data() + at,
                            static_cast<int>(std::min(pieceSize, file.size() - at)));
    const bool fits = FinishTransferText(decoder);
    return {fits, text};
}

enum class Way {
    kBoth,     // the text is stored as the file, which reads back as the text
    kReadOnly, // a file the program never writes reads back as the text
    kTooLong,  // the file holds more than a text: it reads back as none
};

TEST(TransferFileFormat, StoresLineFeedsAsPairsAndReadsTheTextBackWhateverTheReadSizes) {
    const std::string full(kHiscoreTextSize - 1, 'x');
    const std::string a999(999, 'a');
    std::string longText, longFile;
    for (int i = 0; longText.size() < kHiscoreTextSize - 40; ++i) {
        longText += "game " + std::to_string(i) + " 100%\n";
        longFile += "game " + std::to_string(i) + " 100%\r\n";
    }
    struct Case {
        const char* name;
        std::string text;
        std::string file;
        Way way = Way::kBoth;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"one record", "alice 120\n", "alice 120\r\n"},
        {"two records", "a\nb\n", "a\r\nb\r\n"},
        {"empty record", "\n", "\r\n"},
        {"empty records", "\n\n\n", "\r\n\r\n\r\n"},
        {"no final line feed", "a\nb", "a\r\nb"},
        {"percent sign kept", "100% done %s %d\n", "100% done %s %d\r\n"},
        {"carriage return before line feed", "a\r\n", "a\r\r\n"},
        {"lone carriage return", "a\rb\n", "a\rb\r\n"},
        {"lone carriage return at the end", "a\rb", "a\rb"},
        {"carriage return at the end", "a\r", "a\r"},
        {"carriage return in the middle", "cr\rin the middle\n", "cr\rin the middle\r\n"},
        {"ctrl-z is data", "a\032b\n", "a\032b\r\n"},
        {"ctrl-z before a pair", "a\x1a\nb", "a\x1a\r\nb"},
        {"high bytes", "\xe9\xff\n", "\xe9\xff\r\n"},
        // A 1000-byte read ends on the carriage return; the line feed opens the next one.
        {"pair split between reads", a999 + "\nb", a999 + "\r\nb"},
        {"long records", longText, longFile},
        {"exactly full", full, full},
        {"full of line feeds: pairs count as one character",
         std::string(kHiscoreTextSize - 1, '\n'), Repeat("\r\n", kHiscoreTextSize - 1)},
        {"bare line feed kept", "a\nb\n", "a\nb\n", Way::kReadOnly},
        {"line feed then carriage return", "\n\r", "\n\r", Way::kReadOnly},
        {"NUL ends the chunk", "ab", "ab\0cd\r\n"s, Way::kReadOnly},
        {"NUL first", "", "\0abc"s, Way::kReadOnly},
        // Chunks count characters of the text, a pair being one: the first chunk is 600
        // line feeds, the NUL and 399 dropped characters; the second keeps the rest.
        {"NUL cuts only the rest of its chunk of text characters",
         std::string(600, '\n') + std::string(101, 'b') + "cccccccccc",
         Repeat("\r\n", 600) + '\0' + std::string(500, 'b') + std::string(10, 'c'), Way::kReadOnly},
        {"NUL in every chunk", "c\nc\nc\n", Repeat("c\r\n\0"s + std::string(997, 'z'), 3),
         Way::kReadOnly},
        {"dropped characters do not count", Repeat("kept\n", 15),
         Repeat("kept\r\n\0"s + std::string(kTransferChunkSize - 6, 'z'), 15), Way::kReadOnly},
        {"one character more", "", full + "y", Way::kTooLong},
        {"trailing carriage return overflows", "", full + "\r", Way::kTooLong},
        {"trailing pair overflows", "", full + "\r\n", Way::kTooLong},
        {"far too long", "", std::string(3 * kHiscoreTextSize, 'w'), Way::kTooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.way == Way::kBoth) {
            EXPECT_EQ(Encode(c.text), c.file);
        }
        for (size_t pieceSize : {1, 2, 3, 7, 999, 1000, 1001, 65536})
            EXPECT_EQ(Decode(c.file, pieceSize), std::make_pair(c.way != Way::kTooLong, c.text))
                << "pieces of " << pieceSize;
    }
}

TEST(TransferFileStream, WritesAndReadsBackThroughAFile) {
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    char text[kHiscoreTextSize];
    FillText(text, "first 10%\nsecond\n");
    ASSERT_TRUE(WriteTransferText(file, text));

    rewind(file);
    char bytes[64] = {};
    EXPECT_EQ(std::string(bytes, fread(bytes, 1, sizeof bytes, file)), "first 10%\r\nsecond\r\n");

    rewind(file);
    char readBack[kHiscoreTextSize];
    EXPECT_EQ(ReadTransferText(file, readBack), TransferReadResult::kRead);
    EXPECT_STREQ(readBack, text);
    fclose(file);
}

TEST(TransferFileStream, FileThatCannotBeReadWholeGivesNoText) {
    FILE* tooLong = tmpfile();
    ASSERT_NE(tooLong, nullptr);
    fputs(std::string(kHiscoreTextSize, 'x').c_str(), tooLong);
    rewind(tooLong);
    // Reading a directory fails on its first read.
    const std::pair<FILE*, TransferReadResult> cases[] = {
        {tooLong, TransferReadResult::kTooLong},
        {fopen(".", "rb"), TransferReadResult::kReadError}};
    for (const auto& [file, result] : cases) {
        SCOPED_TRACE(static_cast<int>(result));
        ASSERT_NE(file, nullptr);
        char text[kHiscoreTextSize] = "stale";
        EXPECT_EQ(ReadTransferText(file, text), result);
        EXPECT_STREQ(text, "");
        fclose(file);
    }
}

TEST(TransferFileStream, WriteToFullDiskIsReported) {
    // A short text fails only when its buffer is flushed, a long one while writing.
    for (size_t length : {size_t{10}, size_t{kHiscoreTextSize - 1}}) {
        FILE* file = fopen("/dev/full", "wb");
        ASSERT_NE(file, nullptr);
        char text[kHiscoreTextSize];
        FillText(text, std::string(length, 'r'));
        EXPECT_FALSE(WriteTransferText(file, text)) << length << " characters";
        fclose(file);
    }
}

} // namespace
} // namespace hiscores
