#include "hiscores/app/floppy_commands.h"

#include "formatting/format_text.h"
#include "hiscores/app/send_local.h"
#include "hiscores/collect/collect.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
#include "hiscores/common/text_compare.h"
#include "hiscores/floppy/program_file.h"
#include "hiscores/floppy/transfer_file.h"
#include "hiscores/upload/upload.h"

#include <cstdio>

namespace hiscores {

namespace {

// The root of the floppy disk drive, where the transfer file and the program's copy go.
constexpr char kFloppyFolder[] = "A:\\";

// The folder's path followed by name; false when it does not fit.
bool PathInFolder(const char* folder, const char* name, char (&path)[kPathSize]) {
    const int length = formatting::FormatText(path, sizeof path, "%s%s", folder, name);
    return length >= 0 && length < kPathSize;
}

// Puts the running program beside the transfer file, so that it can be run on the
// computer that sends the records; a program run from that folder is there already.
bool CopyProgramToFolder(const char* folder) {
    char programPath[kPathSize];
    int fileNameOffset = 0;
    if (!LocateProgramFile(programPath, fileNameOffset))
        return false;
    if (StartsWithIgnoringCase(programPath, folder))
        return true;
    char copyPath[kPathSize];
    if (!PathInFolder(folder, programPath + fileNameOffset, copyPath))
        return false;
    SetStatus(kSavingProgramStatus);
    return CopyFileReplacing(programPath, copyPath);
}

} // namespace

void SaveHiscoresToFolder(const char* folder) {
    char text[kHiscoreTextSize];
    int leftOut = 0;
    // With no record in the text, every one left out is one too long to send.
    if (CollectHiscores(text, &leftOut) == 0) {
        ShowNoHiscoresToSend(leftOut);
        return;
    }
    ShowInfo(kInsertFloppyMessage);

    char path[kPathSize];
    FILE* file = PathInFolder(folder, kTransferFileName, path) ? fopen(path, "wb") : nullptr;
    if (file == nullptr) {
        ShowError(kCannotWriteFloppyMessage);
        return;
    }
    SetStatus(kSavingFloppyStatus);
    const bool written = WriteTransferText(file, text);
    const bool closed = fclose(file) == 0;
    if (!written || !closed) {
        // A cut-off file would later be sent as if it held every record.
        remove(path);
        SetStatus(kNoStatus);
        ShowError(kCannotWriteFloppyMessage);
        return;
    }

    if (!CopyProgramToFolder(folder)) {
        SetStatus(kNoStatus);
        ShowError(kCannotCopyProgramMessage);
        return;
    }
    SetStatus(kNoStatus);
    if (leftOut > 0)
        ShowInfo(kSavedWithLeftOutFormat, kSavedToFloppyMessage, leftOut);
    else
        ShowInfo(kSavedToFloppyMessage);
}

void SendHiscoresFromFolder(const char* folder, const UploadServer& server) {
    char path[kPathSize];
    FILE* file = PathInFolder(folder, kTransferFileName, path) ? fopen(path, "rb") : nullptr;
    if (file == nullptr) {
        ShowError(kCannotReadFloppyMessage);
        return;
    }
    char text[kHiscoreTextSize];
    SetStatus(kReadingFloppyStatus);
    const TransferReadResult result = ReadTransferText(file, text);
    fclose(file);
    if (result != TransferReadResult::kRead) {
        SetStatus(kNoStatus);
        ShowError(result == TransferReadResult::kTooLong ? kFloppyFileTooLongMessage
                                                         : kCannotReadFloppyMessage);
        return;
    }

    UploadRun run = {server};
    if (UploadHiscores(run, text) == UploadResult::kSent)
        ShowInfo(kSentFromFloppyMessage);
}

void SaveHiscoresToFloppy() {
    SaveHiscoresToFolder(kFloppyFolder);
}

void SendHiscoresFromFloppy() {
    SendHiscoresFromFolder(kFloppyFolder, kWebsite);
}

} // namespace hiscores
