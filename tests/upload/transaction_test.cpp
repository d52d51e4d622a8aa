#include "hiscores/upload/request.h"
#include "hiscores/upload/server.h"
#include "hiscores/upload/upload.h"
#include "hiscores/common/messages.h"
#include "tests/support/fixed_internet_settings.h"
#include "tests/support/recording_feedback.h"
#include "tests/support/loopback_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace hiscores {
namespace {

using stand_in::Error;
using stand_in::Feedback;
using stand_in::Status;
constexpr char kOk[] = "HTTP/1.0 200 OK\r\n\r\n";
const Feedback kSentShown = {Status(kConnectingStatus), Status(kSendingStatus), Status(kNoStatus)};
const Feedback kRefusedShown = {Status(kConnectingStatus), Status(kSendingStatus),
                                Error(kDataTransferErrorMessage), Status(kNoStatus)};

class TransactionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        stand_in::ClearFeedback();
        stand_in::ClearInternetSettings();
    }
    int Upload(unsigned short port, const std::string& body) {
        return UploadHiscoresTo({"127.0.0.1", port, 5000}, kUploadPath, kUserAgent, body.c_str(),
                                request_, sizeof request_);
    }
    char request_[kRequestBufferSize];
};

TEST_F(TransactionTest, TheReplyDecidesTheResultOfARequestSentWhole) {
    struct Case {
        std::vector<std::string> pieces;
        int result;
    };
    const Case cases[] = {
        {{kOk}, kUploadSent},
        {{"HT", "TP/1.1 2", "00", " OK\r\n"}, kUploadSent},
        {{"H", "T", "T", "P", "/", "1", ".", "0", " ", "2", "0", "0", "\r", "\n"}, kUploadSent},
        {{"HTTP/1.0 404 Not Found\r\n\r\n"}, kUploadTransferError},
        {{"HTTP/1.0 200\r"}, kUploadTransferError}, // thirteen bytes, then the server closes
        {{}, kUploadTransferError},                 // closed without an answer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pieces.empty() ? "(no answer)" : c.pieces[0]);
        stand_in::ClearFeedback();
        LoopbackServer server(c.pieces);
        EXPECT_EQ(Upload(server.Port(), "A1\nB1\n"), c.result);
        EXPECT_EQ(server.Received(), DirectRequest("A1\nB1\n"));
        EXPECT_EQ(stand_in::Shown(), c.result == kUploadSent ? kSentShown : kRefusedShown);
    }
}

TEST_F(TransactionTest, AServerThatStallsIsGivenUpAsATransferError) {
    for (const std::vector<std::string>& pieces :
         {std::vector<std::string>{}, std::vector<std::string>{"HTTP/1.0 2"}}) {
        SCOPED_TRACE(pieces.size());
        stand_in::ClearFeedback();
        LoopbackServer server(pieces, true);
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(UploadHiscoresTo({"127.0.0.1", server.Port(), 200}, kUploadPath, kUserAgent,
                                   "x\n", request_, sizeof request_),
                  kUploadTransferError);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        EXPECT_EQ(server.Received(), DirectRequest("x\n"));
        EXPECT_EQ(stand_in::Shown(), kRefusedShown);
    }
}

TEST_F(TransactionTest, EmptyBodyIsSentWithLengthZero) {
    LoopbackServer server({kOk});
    EXPECT_EQ(Upload(server.Port(), ""), kUploadSent);
    EXPECT_EQ(server.Received(), DirectRequest(""));
}

TEST_F(TransactionTest, LargestTextIsSentWholeDirectly) {
    const std::string body(kHiscoreTextSize - 1, 'r');
    LoopbackServer server({kOk});
    EXPECT_EQ(Upload(server.Port(), body), kUploadSent);
    const std::string received = server.Received();
    EXPECT_EQ(received, DirectRequest(body));
    EXPECT_NE(received.find("Content-Length: 9999\r\n"), std::string::npos);
}

TEST_F(TransactionTest, LargestTextIsSentWholeThroughTheProxy) {
    const std::string body(kHiscoreTextSize - 1, 'r');
    LoopbackServer proxy({kOk});
    stand_in::SetInternetSettings(("127.0.0.1:" + std::to_string(proxy.Port())).c_str(), 1);
    EXPECT_EQ(Upload(RefusingPort(), body), kUploadSent);
    const std::string received = proxy.Received();
    EXPECT_EQ(received.rfind(
                  "POST http://127.0.0.1/rekordy/dopisz.php HTTP/1.0\r\nHost: 127.0.0.1\r\n", 0),
              0u);
    EXPECT_NE(received.find("Content-Length: 9999\r\n\r\n" + body), std::string::npos);
    EXPECT_EQ(received.size() - received.find("\r\n\r\n") - 4, body.size());
}

TEST_F(TransactionTest, ProxyIsAskedOnlyAfterTheDirectConnectionFailed) {
    LoopbackServer server({kOk});
    stand_in::SetInternetSettings("127.0.0.1:1", 1);
    EXPECT_EQ(Upload(server.Port(), "x\n"), kUploadSent);
    EXPECT_EQ(stand_in::InternetSettingsReads(), 0);
}

TEST_F(TransactionTest, UnreachableServerAndProxyGiveCannotConnect) {
    const std::string refusing = "127.0.0.1:" + std::to_string(RefusingPort());
    struct Case {
        std::string proxyServer;
        unsigned long proxyEnable;
    };
    const Case cases[] = {
        {refusing, 0},
        {refusing, 1},
        {"https=" + refusing, 1}, // a list without an http entry
        {"http=" + refusing + ";https=127.0.0.1:1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.proxyServer);
        stand_in::ClearFeedback();
        stand_in::SetInternetSettings(c.proxyServer.c_str(), c.proxyEnable);
        EXPECT_EQ(Upload(RefusingPort(), "x\n"), kUploadCannotConnect);
        EXPECT_EQ(stand_in::InternetSettingsReads(), 1);
        EXPECT_EQ(stand_in::Shown(), (Feedback{Status(kConnectingStatus),
                                               Error(kCannotConnectMessage), Status(kNoStatus)}));
    }
}

TEST_F(TransactionTest, BodyTooLargeForTheBufferIsRefusedBeforeSending) {
    LoopbackServer server({kOk});
    char small[64];
    EXPECT_EQ(UploadHiscoresTo({"127.0.0.1", server.Port(), 5000}, kUploadPath, kUserAgent,
                               std::string(100, 'x').c_str(), small, sizeof small),
              kUploadTransferError);
    EXPECT_EQ(server.Received(), "");
}

TEST(RequestBufferSize, HoldsTheLongestRequestForTheLargestText) {
    const std::string body(kHiscoreTextSize - 1, 'r');
    char buffer[kRequestBufferSize];
    EXPECT_GT(FormatUploadRequest(buffer, sizeof buffer, true, kServerHost, kUploadPath, kUserAgent,
                                  body.c_str()),
              0);
}

} // namespace
} // namespace hiscores
