#include "hiscores/app/send_local.h"

#include "hiscores/collect/collect.h"
#include "hiscores/common/exit_codes.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
#include "hiscores/upload/upload.h"

namespace hiscores {

int SendLocalHiscoresTo(const UploadServer& server) {
    GameKeyList games;
    ListGameKeys(games);
    RecordCursor cursor;
    char text[kHiscoreTextSize];
    int skipped = 0;
    int uploads = 0;
    UploadRun run = {server};
    UploadResult result = UploadResult::kSent;
    while (result == UploadResult::kSent && CollectBatch(games, cursor, text, &skipped) > 0) {
        ++uploads;
        result = UploadHiscores(run, text);
    }
    FreeGameKeyList(games);
    if (uploads == 0) {
        ShowError(kNoHiscoresMessage);
        return kExitNoHiscores;
    }
    switch (result) {
    case UploadResult::kSent:
        ShowInfo(kSentMessage);
        return kExitSent;
    case UploadResult::kSystemError:
    case UploadResult::kCannotConnect:
        return kExitNoConnection;
    default:
        return kExitTransferError;
    }
}

int SendLocalHiscores() {
    return SendLocalHiscoresTo(kWebsite);
}

} // namespace hiscores
