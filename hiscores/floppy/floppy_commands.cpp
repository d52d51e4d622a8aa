#include "hiscores/floppy/floppy_commands.h"

#include "hiscores/app/feedback.h"
#include "hiscores/app/send_local.h"
#include "hiscores/collect/collect.h"
#include "hiscores/floppy/program_file.h"
#include "hiscores/floppy/transfer_file.h"
#include "hiscores/upload/server.h"
#include "hiscores/upload/upload.h"
#include "hiscores/text/format_text.h"

#include <cstdio>

namespace hiscores {

namespace {

constexpr char kFloppyRoot[] = "A:\\";

constexpr char kInsertFloppyMessage[] = "Insert floppy disk and click OK.";
constexpr char kCannotWriteMessage[] =
    "There is no floppy disk in the drive or it's protected or full\n\nCheck it and try again.";
constexpr char kCannotCopyMessage[] = "Can't copy myself to the floppy disk!";
constexpr char kSavedMessage[] = "Your hiscores have been successfully written to the floppy disk.";
constexpr char kCannotReadMessage[] = "There is no floppy in the drive or it doesn't contain any "
                                      "hiscores!\n\nCheck it and try again.";
constexpr char kTooLongMessage[] = "The file on the floppy disk holds more hiscores than can be "
                                   "sent at once!\n\nNothing has been sent.";
constexpr char kSentMessage[] =
    "Hiscores from the floppy disk have been successfully sent to the TumbraGames website.";

// Puts the running program beside the transfer file, so that it can be run on the
// computer that sends the records; a program run from the floppy is there already.
bool CopyProgramToFloppy() {
    char programPath[kPathSize];
    int fileNameOffset = 0;
    if (!LocateProgramFile(programPath, fileNameOffset))
        return false;
    if (programPath[0] == 'A' || programPath[0] == 'a')
        return true;
    char copyPath[kPathSize];
    const int length =
        FormatText(copyPath, sizeof copyPath, "%s%s", kFloppyRoot, programPath + fileNameOffset);
    if (length < 0 || length >= static_cast<int>(sizeof copyPath))
        return false;
    SetStatus(" - saving myself");
    return CopyFileReplacing(programPath, copyPath);
}

} // namespace

void SaveHiscoresToFloppy() {
    char text[kHiscoreTextSize];
    if (CollectHiscores(text) == 0) {
        ShowError(kNoHiscoresMessage);
        return;
    }
    ShowInfo(kInsertFloppyMessage);

    FILE* file = fopen(kTransferFilePath, "wb");
    if (file == nullptr) {
        ShowError(kCannotWriteMessage);
        return;
    }
    SetStatus(" - saving hiscores");
    const bool written = WriteTransferText(file, text);
    const bool closed = fclose(file) == 0;
    if (!written || !closed) {
        // A cut-off file would later be sent as if it held every record.
        remove(kTransferFilePath);
        SetStatus("");
        ShowError(kCannotWriteMessage);
        return;
    }

    if (!CopyProgramToFloppy()) {
        SetStatus("");
        ShowError(kCannotCopyMessage);
        return;
    }
    SetStatus("");
    ShowInfo(kSavedMessage);
}

void SendHiscoresFromFloppy() {
    FILE* file = fopen(kTransferFilePath, "rb");
    if (file == nullptr) {
        ShowError(kCannotReadMessage);
        return;
    }
    char text[kHiscoreTextSize];
    SetStatus(" - reading hiscores");
    const TransferReadResult result = ReadTransferText(file, text);
    fclose(file);
    if (result != TransferReadResult::kRead) {
        SetStatus("");
        ShowError(result == TransferReadResult::kTooLong ? kTooLongMessage : kCannotReadMessage);
        return;
    }

    char request[kRequestBufferSize];
    if (UploadHiscores(kUploadPath, kUserAgent, text, request, sizeof request) == kUploadSent)
        ShowInfo(kSentMessage);
}

} // namespace hiscores
