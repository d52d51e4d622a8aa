#include "hiscores/floppy/transfer_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace hiscores {
namespace {

using namespace std::string_literals;

struct DecodedText {
    bool fits;
    std::string text;
};

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

// Feeds the file bytes in pieces of pieceSize, as reads of that size would.
DecodedText Decode(const std::string& file, size_t pieceSize) {
    char text[kHiscoreTextSize];
    TransferTextDecoder decoder;
    StartTransferText(decoder, text);
    for (size_t at = 0; at < file.size(); at += pieceSize)
        DecodeTransferBytes(decoder, file.data() + at,
                            static_cast<int>(std::min(pieceSize, file.size() - at)));
    const bool fits = FinishTransferText(decoder);
    return {fits, std::string(text)};
}

constexpr size_t kPieceSizes[] = {1, 2, 3, 7, 999, 1000, 1001, 65536};

struct EncodeCase {
    const char* name;
    std::string text;
    std::string file;
};

TEST(TransferFileFormat, StoresEveryLineFeedAsCarriageReturnLineFeed) {
    const EncodeCase cases[] = {
        {"empty", "", ""},
        {"one record", "alice 120\n", "alice 120\r\n"},
        {"two records", "a\nb\n", "a\r\nb\r\n"},
        {"empty record", "\n", "\r\n"},
        {"no final line feed", "a\nb", "a\r\nb"},
        {"percent sign kept", "100% done %s %d\n", "100% done %s %d\r\n"},
        {"carriage return before line feed", "a\r\n", "a\r\r\n"},
        {"lone carriage return", "a\rb\n", "a\rb\r\n"},
        {"ctrl-z is data",
         "a\x1a"
         "b\n",
         "a\x1a"
         "b\r\n"},
        {"high bytes", "\xe9\xff\n", "\xe9\xff\r\n"},
    };
    for (const EncodeCase& c : cases)
        EXPECT_EQ(Encode(c.text), c.file) << c.name;
}

struct DecodeCase {
    const char* name;
    std::string file;
    std::string text;
};

TEST(TransferFileFormat, ReadsBackTextWhateverTheReadSizes) {
    const DecodeCase cases[] = {
        {"empty file", "", ""},
        {"pair becomes line feed", "a\r\nb\r\n", "a\nb\n"},
        {"bare line feed kept", "a\nb\n", "a\nb\n"},
        {"lone carriage return kept", "a\rb", "a\rb"},
        {"carriage return at the end kept", "a\r", "a\r"},
        {"two carriage returns then line feed", "a\r\r\n", "a\r\n"},
        {"line feed then carriage return", "\n\r", "\n\r"},
        {"ctrl-z is data", "a\x1a\r\nb", "a\x1a\nb"},
        {"nul ends the chunk", "ab\0cd\r\n"s, "ab"},
        {"nul first", "\0abc"s, ""},
    };
    for (const DecodeCase& c : cases)
        for (size_t pieceSize : kPieceSizes) {
            const DecodedText decoded = Decode(c.file, pieceSize);
            EXPECT_TRUE(decoded.fits) << c.name << ", pieces of " << pieceSize;
            EXPECT_EQ(decoded.text, c.text) << c.name << ", pieces of " << pieceSize;
        }
}

TEST(TransferFileFormat, SavedTextReadsBackExactly) {
    std::string longRecords;
    while (longRecords.size() < kHiscoreTextSize - 40)
        longRecords += "game " + std::to_string(longRecords.size()) + " 100%\n";
    const std::string texts[] = {
        "a\nb\n",
        "\n\n\n",
        "cr\rin the middle\n",
        longRecords,
        std::string(kHiscoreTextSize - 1, '\n'),
        std::string(kHiscoreTextSize - 1, 'x'),
    };
    for (const std::string& text : texts)
        for (size_t pieceSize : kPieceSizes) {
            const DecodedText decoded = Decode(Encode(text), pieceSize);
            EXPECT_TRUE(decoded.fits);
            EXPECT_EQ(decoded.text, text) << "pieces of " << pieceSize;
        }
}

TEST(TransferFileFormat, PairSplitBetweenReadsIsOneLineFeed) {
    // A 1000-byte read ends on the carriage return; the line feed opens the next one.
    const std::string file = std::string(999, 'a') + "\r\n" + "b";
    const DecodedText decoded = Decode(file, kTransferChunkSize);
    EXPECT_EQ(decoded.text, std::string(999, 'a') + "\nb");
}

TEST(TransferFileFormat, NulCutsOnlyTheRestOfItsChunkOfTextCharacters) {
    // Chunks count characters of the text, a pair being one: the first chunk is 600
    // line feeds, the NUL and 399 dropped characters; the second keeps the rest.
    const std::string pairs = [] {
        std::string s;
        for (int i = 0; i < 600; ++i)
            s += "\r\n";
        return s;
    }();
    const std::string file = pairs + '\0' + std::string(500, 'b') + std::string(10, 'c');
    const std::string expected = std::string(600, '\n') + std::string(101, 'b') + "cccccccccc";
    for (size_t pieceSize : kPieceSizes)
        EXPECT_EQ(Decode(file, pieceSize).text, expected) << "pieces of " << pieceSize;
}

TEST(TransferFileFormat, NulInEveryChunkKeepsTheTextOfEachChunk) {
    std::string file;
    std::string expected;
    for (int chunk = 0; chunk < 3; ++chunk) {
        const std::string kept = "chunk" + std::to_string(chunk) + "\r\n";
        std::string block = kept + '\0';
        block += std::string(kTransferChunkSize - (kept.size() - 1) - 1, 'z');
        file += block;
        expected += "chunk" + std::to_string(chunk) + "\n";
    }
    EXPECT_EQ(Decode(file, 7).text, expected);
}

struct LengthCase {
    const char* name;
    std::string file;
    bool fits;
};

TEST(TransferFileFormat, RefusesFileLongerThanTheTextBuffer) {
    const std::string full(kHiscoreTextSize - 1, 'x');
    std::string fullOfPairs;
    for (int i = 0; i < kHiscoreTextSize - 1; ++i)
        fullOfPairs += "\r\n";
    std::string longButCutByNuls;
    for (int chunk = 0; chunk < 15; ++chunk)
        longButCutByNuls += "kept\r\n"s + '\0' + std::string(kTransferChunkSize - 6, 'z');
    const LengthCase cases[] = {
        {"exactly full", full, true},
        {"one character more", full + "y", false},
        {"pairs count as one character", fullOfPairs, true},
        {"trailing carriage return overflows", full + "\r", false},
        {"trailing pair overflows", full + "\r\n", false},
        {"dropped characters do not count", longButCutByNuls, true},
        {"far too long", std::string(3 * kHiscoreTextSize, 'w'), false},
    };
    for (const LengthCase& c : cases)
        for (size_t pieceSize : {size_t{1}, size_t{1000}}) {
            const DecodedText decoded = Decode(c.file, pieceSize);
            EXPECT_EQ(decoded.fits, c.fits) << c.name;
            if (!c.fits) {
                EXPECT_EQ(decoded.text, "") << c.name;
            }
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
    EXPECT_EQ(fread(bytes, 1, sizeof bytes, file), 19u);
    EXPECT_EQ(std::string(bytes, 19), "first 10%\r\nsecond\r\n");

    rewind(file);
    char readBack[kHiscoreTextSize];
    EXPECT_EQ(ReadTransferText(file, readBack), TransferReadResult::kRead);
    EXPECT_STREQ(readBack, text);
    fclose(file);
}

TEST(TransferFileStream, ReportsTooLongFileWithEmptyText) {
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    const std::string content(kHiscoreTextSize, 'x');
    fwrite(content.data(), 1, content.size(), file);
    rewind(file);
    char text[kHiscoreTextSize];
    EXPECT_EQ(ReadTransferText(file, text), TransferReadResult::kTooLong);
    EXPECT_STREQ(text, "");
    fclose(file);
}

TEST(TransferFileStream, ReadErrorGivesNoText) {
    // Reading a directory fails on its first read.
    FILE* file = fopen(".", "rb");
    ASSERT_NE(file, nullptr);
    char text[kHiscoreTextSize];
    memcpy(text, "stale", 6);
    EXPECT_EQ(ReadTransferText(file, text), TransferReadResult::kReadError);
    EXPECT_STREQ(text, "");
    fclose(file);
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
