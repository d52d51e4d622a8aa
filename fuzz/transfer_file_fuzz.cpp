// Transfer files of any bytes: decoding in pieces of any size gives what a text-mode
// read in 1000-character chunks would give, overlong files are refused with an empty
// text, reading from a stream agrees, and every text encodes and decodes back to itself.
#include "hiscores/floppy/transfer_file.h"

#include "fuzz/check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using hiscores::kHiscoreTextSize;
using hiscores::kTransferChunkSize;

// Whether the file was accepted, and the text it gave.
using Decoded = std::pair<bool, std::string>;

// The same result by a different route: translate the whole file first, then cut the
// characters into chunks, each of which ends at its first NUL.
Decoded ReferenceDecode(const std::string& bytes) {
    std::string characters;
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        if (bytes[index] == '\r' && index + 1 < bytes.size() && bytes[index + 1] == '\n')
            continue;
        characters += bytes[index];
    }
    std::string text;
    for (std::size_t chunk = 0; chunk < characters.size(); chunk += kTransferChunkSize) {
        const std::string piece = characters.substr(chunk, kTransferChunkSize);
        text += piece.substr(0, piece.find('\0'));
    }
    if (text.size() > static_cast<std::size_t>(kHiscoreTextSize - 1))
        return {false, std::string()};
    return {true, text};
}

Decoded DecodeInPieces(const std::string& bytes, FuzzedDataProvider& pieceSizes) {
    static char text[kHiscoreTextSize];
    std::memset(text, 'x', sizeof text);
    hiscores::TransferTextDecoder decoder;
    hiscores::StartTransferText(decoder, text);
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const std::size_t piece =
            pieceSizes.remaining_bytes() > 0
                ? pieceSizes.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - offset)
                : bytes.size() - offset;
        // Each piece in a buffer of its own size, so a read past it is caught.
        std::vector<char> copy(bytes.begin() + offset, bytes.begin() + offset + piece);
        hiscores::DecodeTransferBytes(decoder, copy.data(), static_cast<int>(piece));
        offset += piece;
    }
    const bool accepted = hiscores::FinishTransferText(decoder);
    FUZZ_CHECK(std::memchr(text, '\0', sizeof text) != nullptr);
    return {accepted, std::string(text)};
}

Decoded ReadFromStream(const std::string& bytes) {
    static char text[kHiscoreTextSize];
    std::memset(text, 'x', sizeof text);
    FILE* file = std::tmpfile();
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    std::rewind(file);
    const hiscores::TransferReadResult result = hiscores::ReadTransferText(file, text);
    std::fclose(file);
    FUZZ_CHECK(result != hiscores::TransferReadResult::kReadError);
    return {result == hiscores::TransferReadResult::kRead, std::string(text)};
}

void CheckRoundTrip(const std::string& original) {
    static char text[kHiscoreTextSize];
    static char bytes[hiscores::kLongestTransferFile];
    std::memcpy(text, original.c_str(), original.size() + 1);
    const int count = hiscores::EncodeTransferText(text, bytes);
    FUZZ_CHECK(count >= static_cast<int>(original.size()) &&
               count <= hiscores::kLongestTransferFile);
    const std::string encoded(bytes, static_cast<std::size_t>(count));
    for (std::size_t index = 0; index < encoded.size(); ++index)
        if (encoded[index] == '\n')
            FUZZ_CHECK(index > 0 && encoded[index - 1] == '\r');
    FuzzedDataProvider wholePieces(nullptr, 0);
    FUZZ_CHECK(DecodeInPieces(encoded, wholePieces) == Decoded(true, original));
}

// A piece repeated and then a tail: small inputs reach the files around a full text.
std::string ConsumeFile(FuzzedDataProvider& input) {
    constexpr std::size_t kLongest = 3 * kHiscoreTextSize;
    const auto repeats = input.ConsumeIntegralInRange<std::size_t>(0, kLongest);
    const std::string piece = input.ConsumeRandomLengthString(64);
    std::string file;
    for (std::size_t count = 0; count < repeats && file.size() + piece.size() <= kLongest; ++count)
        file += piece;
    return file + input.ConsumeRandomLengthString(kLongest - file.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool throughStream = input.ConsumeBool();
    const std::string file = ConsumeFile(input);
    const Decoded expected = ReferenceDecode(file);
    const Decoded decoded = throughStream ? ReadFromStream(file) : DecodeInPieces(file, input);
    FUZZ_CHECK(decoded == expected);
    if (decoded.first)
        CheckRoundTrip(decoded.second);
    return 0;
}
