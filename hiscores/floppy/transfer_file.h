#pragma once

#include "hiscores/common/sizes.h"

#include <cstdio>

// The transfer file holds a hiscore text in DOS text form: every line feed stored as
// carriage return plus line feed. The program opens it in binary mode and translates
// by itself, so the bytes on the disk are the same whichever C library wrote them.
// A Ctrl-Z byte is ordinary data here, not an end-of-file mark: the program never
// writes one as a mark, and a record holding one must come back whole.
namespace hiscores {

inline constexpr char kTransferFileName[] = "hs.dat";

// The file is read back in chunks of this many text characters; a NUL byte ends its
// chunk's contribution to the text.
inline constexpr int kTransferChunkSize = 1000;

// The longest file a full hiscore text can give: nothing but line feeds.
inline constexpr int kLongestTransferFile = 2 * (kHiscoreTextSize - 1);

// Stores text up to its terminating NUL as file bytes; returns how many.
int EncodeTransferText(const char (&text)[kHiscoreTextSize], char (&bytes)[kLongestTransferFile]);

// Turns file bytes, fed in pieces of any size, back into a hiscore text.
struct TransferTextDecoder {
    char* text;
    int length;
    int chunkFill;
    bool chunkEndedByNul;
    bool carriageReturnPending;
    bool overflowed;
};

void StartTransferText(TransferTextDecoder& decoder, char (&text)[kHiscoreTextSize]);
void DecodeTransferBytes(TransferTextDecoder& decoder, const char* bytes, int count);
// Ends the text; false when the file held more than the text buffer can take, in which
// case the text is empty.
bool FinishTransferText(TransferTextDecoder& decoder);

// Writes text to a file opened in binary mode and flushes it; false when not every
// byte reached the file.
bool WriteTransferText(FILE* file, const char (&text)[kHiscoreTextSize]);

enum class TransferReadResult { kRead, kReadError, kTooLong };

// Reads a whole file opened in binary mode into text. On failure the text is empty, so
// that a part of the records can never pass for all of them.
TransferReadResult ReadTransferText(FILE* file, char (&text)[kHiscoreTextSize]);

} // namespace hiscores
