#include "hiscores/app/send_local.h"
#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_feedback.h"
#include "tests/support/registry_content.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hiscores {
namespace {

using stand_in::Error;
using stand_in::Feedback;
using stand_in::Formatted;
using stand_in::Info;
using stand_in::Status;
using Bodies = std::vector<std::string>;

const std::string kHalf(4998, 'h'); // two of them with their line feeds: 9998 bytes
const std::string kTooLong(9999, 'x');

// Games "A", "B", ... each with its records sent to a server that gives reply to the
// first answered requests; the bodies of the requests it received.
Bodies Send(const std::vector<std::vector<std::string>>& games, ExitCode code,
            const char* reply = "HTTP/1.0 200 OK\r\n", int answered = -1) {
    stand_in::ResetRegistry();
    stand_in::ClearFeedback();
    for (size_t game = 0; game < games.size(); ++game)
        stand_in::SetRecords(std::string(1, 'A' + game), games[game]);
    LoopbackServer server({reply}, false, answered);
    EXPECT_EQ(SendLocalHiscoresTo(LoopbackUploadServer(server.Port())), code);
    return server.Bodies();
}

TEST(SendLocal, RecordsThatFitGoInOneRequest) {
    EXPECT_EQ(Send({{"a1", "a2"}, {"b1"}}, ExitCode::kSent), Bodies{"a1\na2\nb1\n"});
    EXPECT_EQ(stand_in::Shown(), (Feedback{Status(kConnectingStatus), Status(kSendingStatus),
                                           Status(kNoStatus), Info(kSentMessage)}));
}

TEST(SendLocal, RecordsBeyondOneRequestGoInTheNextInOrder) {
    const std::string longest(9998, 'l');
    EXPECT_EQ(Send({{kHalf, kHalf, "a3"}, {"b1"}}, ExitCode::kSent),
              (Bodies{kHalf + "\n" + kHalf + "\n", "a3\nb1\n"}));
    // A record that cannot fit even alone is passed over, and the success says so.
    EXPECT_EQ(Send({{"a1", kTooLong, longest, kTooLong}}, ExitCode::kSent),
              (Bodies{"a1\n", longest + "\n"}));
    EXPECT_EQ(stand_in::Shown().back(), Info(Formatted(kSentWithLeftOutFormat, kSentMessage, 2)));
    EXPECT_EQ(Send({{kTooLong, "a2"}}, ExitCode::kSent), Bodies{"a2\n"});
    EXPECT_EQ(stand_in::Shown().back(), Info(Formatted(kSentWithLeftOutFormat, kSentMessage, 1)));
}

TEST(SendLocal, TheFirstRequestRefusedEndsTheCommand) {
    EXPECT_EQ(Send({{kHalf, kHalf, "a3"}}, ExitCode::kTransferError, "HTTP/1.0 500 Oops\r\n"),
              Bodies{kHalf + "\n" + kHalf + "\n"});
    EXPECT_EQ(stand_in::Shown(), (Feedback{Status(kConnectingStatus), Status(kSendingStatus),
                                           Error(kDataTransferErrorMessage), Status(kNoStatus)}));
}

TEST(SendLocal, ARequestRefusedAfterAcceptedOnesSaysHowManyWent) {
    // Two records went in the first request; the second held two, and one too long was
    // passed over.
    EXPECT_EQ(Send({{kHalf, kHalf, "a3"}, {"b1", kTooLong}}, ExitCode::kTransferError,
                   "HTTP/1.0 200 OK\r\n", 1),
              (Bodies{kHalf + "\n" + kHalf + "\n", "a3\nb1\n"}));
    EXPECT_EQ(stand_in::Shown(),
              (Feedback{Status(kConnectingStatus), Status(kSendingStatus), Status(kNoStatus),
                        Status(kConnectingStatus), Status(kSendingStatus), Status(kNoStatus),
                        Error(Formatted(kPartlySentFormat, kDataTransferErrorMessage, 2, 3))}));
}

TEST(SendLocal, WithoutRecordsThatCanBeSentShowsWhyAndGivesOne) {
    EXPECT_EQ(Send({{}}, ExitCode::kNoHiscores), Bodies{});
    EXPECT_EQ(stand_in::Shown(), Feedback{Error(kNoHiscoresMessage)});
    EXPECT_EQ(Send({{kTooLong}, {kTooLong}}, ExitCode::kNoHiscores), Bodies{});
    EXPECT_EQ(stand_in::Shown(), Feedback{Error(Formatted(kAllTooLongFormat, 2))});
}

TEST(SendLocal, SilentRunShowsNothing) {
    SilentMode = true;
    EXPECT_EQ(Send({}, ExitCode::kNoHiscores), Bodies{});
    SetStatus(kConnectingStatus);
    SilentMode = false;
    EXPECT_EQ(stand_in::Shown(), Feedback{});
}

} // namespace
} // namespace hiscores
