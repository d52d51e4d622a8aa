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
    ExitCode code = ExitCode::kSent;
    while (code == ExitCode::kSent && CollectBatch(games, cursor, text, &skipped) > 0) {
        ++uploads;
        code = ExitCodeFor(UploadHiscores(server, text));
    }
    FreeGameKeyList(games);
    if (uploads == 0) {
        ShowError(kNoHiscoresMessage);
        return ExitCode::kNoHiscores;
    }
    if (code == ExitCode::kSent)
        ShowInfo(kSentMessage);
    return code;
}

ExitCode SendLocalHiscores() {
    return SendLocalHiscoresTo(kWebsite);
}

} // namespace hiscores
