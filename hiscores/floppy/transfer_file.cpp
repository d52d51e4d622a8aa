#include "hiscores/floppy/transfer_file.h"

namespace hiscores {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';

// One character of the text as the file is read back, in the chunks a text-mode read
// of kTransferChunkSize characters would give.
void TakeCharacter(TransferTextDecoder& decoder, char character) {
    if (!decoder.chunkEndedByNul) {
        if (character == '\0')
            decoder.chunkEndedByNul = true;
        else if (decoder.length == kHiscoreTextSize - 1)
            decoder.overflowed = true;
        else
            decoder.text[decoder.length++] = character;
    }
    if (++decoder.chunkFill == kTransferChunkSize) {
        decoder.chunkFill = 0;
        decoder.chunkEndedByNul = false;
    }
}

} // namespace

int EncodeTransferText(const char (&text)[kHiscoreTextSize], char (&bytes)[kLongestTransferFile]) {
    int count = 0;
    for (int i = 0; i < kHiscoreTextSize - 1 && text[i] != '\0'; ++i) {
        if (text[i] == kLineFeed)
            bytes[count++] = kCarriageReturn;
        bytes[count++] = text[i];
    }
    return count;
}

void StartTransferText(TransferTextDecoder& decoder, char (&text)[kHiscoreTextSize]) {
    decoder = TransferTextDecoder{text, 0, 0, false, false, false};
    text[0] = '\0';
}

void DecodeTransferBytes(TransferTextDecoder& decoder, const char* bytes, int count) {
    for (int i = 0; i < count; ++i) {
        const char byte = bytes[i];
        // A pair split between two pieces is still one line feed.
        if (decoder.carriageReturnPending) {
            decoder.carriageReturnPending = false;
            if (byte == kLineFeed) {
                TakeCharacter(decoder, kLineFeed);
                continue;
            }
            TakeCharacter(decoder, kCarriageReturn);
        }
        if (byte == kCarriageReturn)
            decoder.carriageReturnPending = true;
        else
            TakeCharacter(decoder, byte);
    }
}

bool FinishTransferText(TransferTextDecoder& decoder) {
    if (decoder.carriageReturnPending) {
        decoder.carriageReturnPending = false;
        TakeCharacter(decoder, kCarriageReturn);
    }
    if (decoder.overflowed)
        decoder.length = 0;
    decoder.text[decoder.length] = '\0';
    return !decoder.overflowed;
}

bool WriteTransferText(FILE* file, const char (&text)[kHiscoreTextSize]) {
    char bytes[kLongestTransferFile];
    const int count = EncodeTransferText(text, bytes);
    // Flushed here because some C libraries lose a failed last flush inside fclose.
    return fwrite(bytes, 1, count, file) == static_cast<size_t>(count) && fflush(file) == 0;
}

TransferReadResult ReadTransferText(FILE* file, char (&text)[kHiscoreTextSize]) {
    TransferTextDecoder decoder;
    StartTransferText(decoder, text);
    char chunk[kTransferChunkSize];
    size_t count;
    while (!decoder.overflowed && (count = fread(chunk, 1, sizeof chunk, file)) > 0)
        DecodeTransferBytes(decoder, chunk, static_cast<int>(count));
    if (ferror(file)) {
        text[0] = '\0';
        return TransferReadResult::kReadError;
    }
    return FinishTransferText(decoder) ? TransferReadResult::kRead : TransferReadResult::kTooLong;
}

} // namespace hiscores
