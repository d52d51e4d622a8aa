#include "hiscores/app/send_local.h"
#include "hiscores/common/exit_codes.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
#include "tests/support/loopback_server.h"
#include "tests/support/memory_registry.h"
#include "tests/support/recording_feedback.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hiscores {
namespace {

class SendLocal : public ::testing::Test {
  protected:
    void SetUp() override {
        stand_in::ResetMemoryRegistry();
        stand_in::ClearFeedback();
    }

    // Games "A", "B", ... each with its records; the bodies of the requests sent.
    std::vector<std::string> Send(const std::vector<std::vector<std::string>>& games,
                                  int expectedExitCode, const char* reply = "HTTP/1.0 200 OK\r\n") {
        stand_in::ResetMemoryRegistry();
        for (size_t game = 0; game < games.size(); ++game)
            for (size_t n = 0; n < games[game].size(); ++n)
                stand_in::SetValue("Software\\Tumbra\\" + std::string(1, 'A' + game),
                                   "_rek_" + std::to_string(n + 1), 1, games[game][n] + '\0');
        LoopbackServer server({reply});
        EXPECT_EQ(SendLocalHiscoresTo(LoopbackUploadServer(server.Port())), expectedExitCode);
        return server.Bodies();
    }
};

TEST_F(SendLocal, RecordsThatFitGoInOneRequest) {
    EXPECT_EQ(Send({{"a1", "a2"}, {"b1"}}, kExitSent), std::vector<std::string>{"a1\na2\nb1\n"});
    EXPECT_STREQ(stand_in::FeedbackTexts(stand_in::FeedbackKind::Info), kSentMessage);
}

TEST_F(SendLocal, RecordsBeyondOneRequestGoInTheNextInOrder) {
    const std::string half(4998, 'h'); // two of them with their line feeds: 9998 bytes
    const std::string longest(9998, 'l');
    EXPECT_EQ(Send({{half, half, "a3"}, {"b1"}}, kExitSent),
              (std::vector<std::string>{half + "\n" + half + "\n", "a3\nb1\n"}));
    // A record that cannot fit even alone is passed over.
    EXPECT_EQ(Send({{"a1", std::string(9999, 'x'), longest}}, kExitSent),
              (std::vector<std::string>{"a1\n", longest + "\n"}));
}

TEST_F(SendLocal, TheFirstRequestRefusedEndsTheCommand) {
    const std::string half(4998, 'h');
    EXPECT_EQ(Send({{half, half, "a3"}}, kExitTransferError, "HTTP/1.0 500 Oops\r\n"),
              std::vector<std::string>{half + "\n" + half + "\n"});
    EXPECT_STREQ(stand_in::FeedbackTexts(stand_in::FeedbackKind::Error), kDataTransferErrorMessage);
    EXPECT_STREQ(stand_in::FeedbackTexts(stand_in::FeedbackKind::Info), "");
}

TEST_F(SendLocal, WithoutRecordsShowsTheErrorAndGivesOne) {
    EXPECT_EQ(Send({{std::string(9999, 'x')}}, kExitNoHiscores), std::vector<std::string>{});
    EXPECT_STREQ(stand_in::FeedbackSequence(),
                 (std::string("error:") + kNoHiscoresMessage).c_str());
}

TEST_F(SendLocal, SilentRunShowsNothing) {
    SilentMode = true;
    EXPECT_EQ(SendLocalHiscoresTo(LoopbackUploadServer(RefusingPort())), kExitNoHiscores);
    SetStatus(kConnectingStatus);
    SilentMode = false;
    EXPECT_EQ(stand_in::FeedbackCount(), 0);
}

} // namespace
} // namespace hiscores
