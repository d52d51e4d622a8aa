#include "hiscores/app/send_local.h"
#include "hiscores/common/exit_codes.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
#include "tests/support/memory_registry.h"
#include "tests/support/recording_feedback.h"

#include <gtest/gtest.h>

namespace hiscores {
namespace {

TEST(SendLocal, WithoutRecordsShowsTheErrorAndGivesOne) {
    stand_in::ResetMemoryRegistry();
    stand_in::ClearFeedback();
    EXPECT_EQ(SendLocalHiscores(), kExitNoHiscores);
    EXPECT_STREQ(stand_in::FeedbackSequence(),
                 (std::string("error:") + kNoHiscoresMessage).c_str());
}

TEST(SendLocal, SilentRunShowsNothing) {
    stand_in::ResetMemoryRegistry();
    stand_in::ClearFeedback();
    SilentMode = true;
    EXPECT_EQ(SendLocalHiscores(), kExitNoHiscores);
    SetStatus(kConnectingStatus);
    SilentMode = false;
    EXPECT_EQ(stand_in::FeedbackCount(), 0);
}

} // namespace
} // namespace hiscores
