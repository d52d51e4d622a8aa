#include "hiscores/app/send_local.h"

#include "hiscores/app/feedback.h"
#include "hiscores/collect/collect.h"
#include "hiscores/upload/server.h"
#include "hiscores/upload/upload.h"

namespace hiscores {

int SendLocalHiscores() {
    char text[kHiscoreTextSize];
    if (CollectHiscores(text) == 0) {
        ShowError(kNoHiscoresMessage);
        return kExitNoHiscores;
    }
    char request[kRequestBufferSize];
    switch (UploadHiscores(kUploadPath, kUserAgent, text, request, sizeof request)) {
    case kUploadSent:
        ShowInfo("Your hiscores have been successfully sent to the TumbraGames website.");
        return kExitSent;
    case kUploadSystemError:
    case kUploadCannotConnect:
        return kExitNoConnection;
    default:
        return kExitTransferError;
    }
}

} // namespace hiscores
