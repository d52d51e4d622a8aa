#include "hiscores/app/send_local.h"

#include "hiscores/collect/collect.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
#include "hiscores/upload/upload.h"

namespace hiscores {

namespace {

ExitCode ExitCodeFor(UploadResult result) {
    switch (result) {
    case UploadResult::kSent:
        return ExitCode::kSent;
    case UploadResult::kSystemError:
    case UploadResult::kCannotConnect:
        return ExitCode::kNoConnection;
    default:
        return ExitCode::kTransferError;
    }
}

} // namespace

ExitCode SendLocalHiscoresTo(const UploadServer& server) {
    GameKeyList games;
    ListGameKeys(games);
    RecordCursor cursor;
    char text[kHiscoreTextSize];
    int skipped = 0;
    int uploads = 0;
    int sent = 0;
    int batch = 0;
    UploadRun run = {server};
    UploadResult result = UploadResult::kSent;
    while (result == UploadResult::kSent &&
           (batch = CollectBatch(games, cursor, text, &skipped)) > 0) {
        ++uploads;
        result = UploadHiscores(run, text);
        if (result == UploadResult::kSent)
            sent += batch;
    }
    // Some records reached the website and some did not: sending them all again would
    // post the first ones twice, so the player is told how many went.
    if (result != UploadResult::kSent && run.acceptedRequests > 0) {
        int notSent = batch;
        while ((batch = CollectBatch(games, cursor, text, &skipped)) > 0)
            notSent += batch;
        ShowError(kPartlySentFormat, UploadFailureMessage(result), sent, notSent + skipped);
    }
    FreeGameKeyList(games);
    if (uploads == 0) {
        ShowNoHiscoresToSend(skipped);
        return ExitCode::kNoHiscores;
    }
    if (result == UploadResult::kSent && skipped > 0)
        ShowInfo(kSentWithLeftOutFormat, kSentMessage, skipped);
    else if (result == UploadResult::kSent)
        ShowInfo(kSentMessage);
    return ExitCodeFor(result);
}

void ShowNoHiscoresToSend(int tooLong) {
    if (tooLong > 0)
        ShowError(kAllTooLongFormat, tooLong);
    else
        ShowError(kNoHiscoresMessage);
}

ExitCode SendLocalHiscores() {
    return SendLocalHiscoresTo(kWebsite);
}

} // namespace hiscores
