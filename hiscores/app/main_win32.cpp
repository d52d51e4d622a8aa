#include "hiscores/app/main_window.h"
#include "hiscores/app/send_local.h"
#include "hiscores/app/tokenizer.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/sizes.h"

#include <windows.h>

namespace {

// The longest command line Windows passes to a program.
constexpr int kArgumentTextSize = 32768;

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR argumentText, int) {
    char programPath[hiscores::kPathSize];
    programPath[0] = '\0';
    GetModuleFileNameA(nullptr, programPath, sizeof programPath);
    char arguments[kArgumentTextSize];
    lstrcpynA(arguments, argumentText != nullptr ? argumentText : "", sizeof arguments);
    if (hiscores::IsSilentRun(arguments, programPath)) {
        hiscores::SilentMode = true;
        return static_cast<int>(hiscores::SendLocalHiscores());
    }
    hiscores::SilentMode = false;
    return hiscores::RunMainWindow(instance);
}
