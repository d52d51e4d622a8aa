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
    char request[kRequestBufferSize];
    int skipped = 0;
    int uploads = 0;
    int result = kUploadSent;
    while (result == kUploadSent && CollectBatch(games, cursor, text, &skipped) > 0) {
        ++uploads;
        result = UploadHiscoresTo(server, kUploadPath, kUserAgent, text, request, sizeof request);
    }
    FreeGameKeyList(games);
    if (uploads == 0) {
        ShowError(kNoHiscoresMessage);
        return kExitNoHiscores;
    }
    switch (result) {
    case kUploadSent:
        ShowInfo(kSentMessage);
        return kExitSent;
    case kUploadSystemError:
    case kUploadCannotConnect:
        return kExitNoConnection;
    default:
        return kExitTransferError;
    }
}

int SendLocalHiscores() {
    return SendLocalHiscoresTo(kWebsite);
}

} // namespace hiscores
