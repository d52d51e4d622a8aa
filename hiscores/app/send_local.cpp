#include "hiscores/app/send_local.h"

#include "hiscores/collect/collect.h"
#include "hiscores/common/exit_codes.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
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
        ShowInfo(kSentMessage);
        return kExitSent;
    case kUploadSystemError:
    case kUploadCannotConnect:
        return kExitNoConnection;
    default:
        return kExitTransferError;
    }
}

} // namespace hiscores
