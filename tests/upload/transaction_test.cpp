#include "hiscores/common/messages.h"
#include "hiscores/upload/request.h"
#include "hiscores/upload/upload.h"
#include "tests/support/fixed_internet_settings.h"
#include "tests/support/loopback_host_lookup.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_feedback.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hiscores {
namespace {

using stand_in::Error;
using stand_in::Status;
constexpr char kOk[] = "HTTP/1.0 200 OK\r\n\r\n";

// Who listens: the server, the server without a word after its reply, the server
// trickling its reply, the proxy behind a server that never answers the connection, the
// proxy, or neither; the others' ports refuse. A slow server meets a limit of a fifth of
// a second: for progress, for the whole request, or for connecting.
enum class Listening { kServer, kStallingServer, kTricklingServer, kUnanswered, kProxy, kNeither };

TEST(Transaction, TheRouteAndTheReplyDecideTheResult) {
    const std::string largest(kHiscoreTextSize - 1, 'r');
    const std::string tooLarge(kRequestBufferSize, 'x');
    // Fourteen pieces, each after a pause of 20 ms.
    const std::vector<std::string> byteByByte = {"H", "T", "T", "P", "/", "1",  ".",
                                                 "0", " ", "2", "0", "0", "\r", "\n"};
    struct Case {
        const char* what;
        Listening listening;
        std::vector<std::string> reply;
        UploadResult result;
        std::string body = "A1\nB1\n";
        // "@" stands for the proxy's port.
        std::string proxy = "127.0.0.1:@";
        unsigned long proxyEnable = 1;
    };
    using enum Listening;
    using enum UploadResult;
    const Case cases[] = {
        {"accepted", kServer, {kOk}, kSent},
        {"status line in pieces", kServer, {"HT", "TP/1.1 2", "00", " OK\r\n"}, kSent},
        {"status line byte by byte", kServer, byteByByte, kSent},
        {"byte by byte past the request's limit", kTricklingServer, byteByByte, kTransferError},
        {"refused", kServer, {"HTTP/1.0 404 Not Found\r\n\r\n"}, kTransferError},
        {"thirteen bytes, then closed", kServer, {"HTTP/1.0 200\r"}, kTransferError},
        {"closed without an answer", kServer, {}, kTransferError},
        {"stalls without an answer", kStallingServer, {}, kTransferError},
        {"stalls in the status line", kStallingServer, {"HTTP/1.0 2"}, kTransferError},
        {"empty body", kServer, {kOk}, kSent, ""},
        {"largest text", kServer, {kOk}, kSent, largest},
        {"largest text through the proxy", kProxy, {kOk}, kSent, largest},
        {"body too large for the buffer", kServer, {kOk}, kTransferError, tooLarge},
        {"proxy disabled", kProxy, {kOk}, kCannotConnect, "x\n", "127.0.0.1:@", 0},
        {"proxy enabled with 2", kProxy, {kOk}, kCannotConnect, "x\n", "127.0.0.1:@", 2},
        {"proxy unreachable", kNeither, {}, kCannotConnect},
        {"server never answers the connection", kUnanswered, {kOk}, kSent},
        // The lookup takes longer than the rest of the request's time, which it does not use.
        {"then the proxy's name is slow to look up", kUnanswered, {kOk}, kSent, "x\n", "p.lan:@"},
        {"no http entry", kProxy, {kOk}, kCannotConnect, "x\n", "https=127.0.0.1:@"},
        {"http entry refused", kProxy, {kOk}, kCannotConnect, "x\n", "http=127.0.0.1:1;https=p:@"},
    };
    // Every name other than a dotted address is looked up.
    stand_in::SetHostLookupMilliseconds(800);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stand_in::ClearFeedback();
        const bool stall = c.listening == kStallingServer;
        const bool trickle = c.listening == kTricklingServer;
        const bool unanswered = c.listening == kUnanswered;
        LoopbackServer listener(c.reply, stall);
        UnansweringPort unansweringPort;
        const bool direct = c.listening == kServer || stall || trickle;
        const unsigned short proxyPort =
            c.listening == kProxy || unanswered ? listener.Port() : RefusingPort();
        std::string proxy = c.proxy;
        proxy.replace(proxy.find('@'), 1, std::to_string(proxyPort));
        stand_in::SetInternetSettings(proxy.c_str(), c.proxyEnable);
        UploadServer server = LoopbackUploadServer(direct       ? listener.Port()
                                                   : unanswered ? unansweringPort.Port()
                                                                : RefusingPort(),
                                                   stall ? 200 : 5000);
        server.requestMilliseconds = trickle ? 200 : unanswered ? 600 : 5000;
        server.connectMilliseconds = unanswered ? 200 : 5000;

        const auto started = std::chrono::steady_clock::now();
        UploadRun run = {server};
        EXPECT_EQ(UploadHiscores(run, c.body.c_str()), c.result);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        // The proxy is asked only after the direct connection failed.
        EXPECT_EQ(stand_in::InternetSettingsReads(), direct ? 0 : 1);
        // A body too large for the buffer is refused before sending.
        const bool connected = c.result != kCannotConnect;
        const std::string request =
            c.body.size() < kRequestBufferSize ? UploadRequest(c.body, !direct) : "";
        EXPECT_EQ(listener.Requests(),
                  connected ? std::vector{request} : std::vector<std::string>{});
        stand_in::Feedback shown = {Status(kConnectingStatus)};
        if (connected)
            shown.push_back(Status(kSendingStatus));
        if (c.result != kSent)
            shown.push_back(Error(connected ? kDataTransferErrorMessage : kCannotConnectMessage));
        shown.push_back(Status(kNoStatus));
        EXPECT_EQ(stand_in::Shown(), shown);
    }
}

TEST(Transaction, ARunTriesTheRouteOfItsLastAcceptedRequestFirst) {
    // A request's body "a\n" is written a, and one too large to send, which connects but
    // is refused unsent, is written !. The proxy answers; the server answers too, or never
    // answers a connection, and each attempt there waits half a second.
    struct Case {
        const char* what;
        bool serverAnswers;
        std::string bodies;
        std::string atServer;
        std::string atProxy;
        int settingsReads;
        int unansweredAttempts;
        size_t serverGoneAfter = SIZE_MAX; // requests after which the server refuses
    };
    const Case cases[] = {
        {"direct, kept", true, "ab", "ab", "", 0, 0},
        {"through the proxy, kept", false, "ab", "", "ab", 1, 1},
        {"direct, then refused: the proxy, kept in turn", true, "abc", "a", "bc", 1, 0, 1},
        {"connected but not accepted: not kept", false, "!b", "", "!b", 2, 2},
    };
    const auto body = [](char name) {
        return name == '!' ? std::string(kRequestBufferSize, 'x') : name + std::string("\n");
    };
    const auto requests = [&](const std::string& names, bool viaProxy) {
        std::vector<std::string> sent;
        for (const char name : names)
            sent.push_back(name == '!' ? "" : UploadRequest(body(name), viaProxy));
        return sent;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<LoopbackServer> direct(std::in_place, std::vector<std::string>{kOk});
        LoopbackServer proxy({kOk});
        UnansweringPort unanswering;
        stand_in::SetInternetSettings(("127.0.0.1:" + std::to_string(proxy.Port())).c_str(), 1);
        UploadServer server =
            LoopbackUploadServer(c.serverAnswers ? direct->Port() : unanswering.Port());
        server.connectMilliseconds = 500;
        UploadRun run = {server};
        std::vector<std::string> atServer;
        const auto started = std::chrono::steady_clock::now();
        for (size_t n = 0; n < c.bodies.size(); ++n) {
            if (n == c.serverGoneAfter) {
                atServer = direct->Requests();
                direct.reset();
            }
            EXPECT_EQ(UploadHiscores(run, body(c.bodies[n]).c_str()),
                      c.bodies[n] == '!' ? UploadResult::kTransferError : UploadResult::kSent);
        }
        const auto waited = std::chrono::steady_clock::now() - started;
        EXPECT_GE(waited, c.unansweredAttempts * std::chrono::milliseconds(500));
        EXPECT_LT(waited, (c.unansweredAttempts + 1) * std::chrono::milliseconds(500));
        EXPECT_EQ(stand_in::InternetSettingsReads(), c.settingsReads);
        EXPECT_EQ(direct ? direct->Requests() : atServer, requests(c.atServer, false));
        EXPECT_EQ(proxy.Requests(), requests(c.atProxy, true));
    }
}

} // namespace
} // namespace hiscores
