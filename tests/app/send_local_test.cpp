#include "hiscores/app/feedback.h"
#include "hiscores/app/send_local.h"
#include "tests/support/memory_registry.h"
#include "tests/support/recording_feedback.h"

#include <gtest/gtest.h>

namespace hiscores {
namespace {

TEST(SendLocal, WithoutRecordsShowsTheErrorAndGivesOne) {
    testing::ResetMemoryRegistry();
    testing::ClearFeedback();
    EXPECT_EQ(SendLocalHiscores(), kExitNoHiscores);
    EXPECT_STREQ(testing::FeedbackTexts(testing::FeedbackKind::Error),
                 "Couldn't find your hiscores!\n");
}

TEST(SendLocal, SilentRunShowsNothing) {
    testing::ResetMemoryRegistry();
    testing::ClearFeedback();
    SilentMode = true;
    EXPECT_EQ(SendLocalHiscores(), kExitNoHiscores);
    SilentMode = false;
    EXPECT_EQ(testing::FeedbackCount(), 0);
}

} // namespace
} // namespace hiscores
