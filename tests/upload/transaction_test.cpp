#include "hiscores/common/messages.h"
#include "hiscores/upload/request.h"
#include "hiscores/upload/upload.h"
#include "tests/support/fixed_internet_settings.h"
#include "tests/support/loopback_host_lookup.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_feedback.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hiscores {
namespace {

using stand_in::Error;
using stand_in::Feedback;
using stand_in::Status;
// Reply pieces, or the requests a listener received.
using Texts = std::vector<std::string>;
constexpr char kOk[] = "HTTP/1.0 200 OK\r\n\r\n";

// Where an address leads: to the test's listener, to the listener keeping the connection
// open without a further word, to a port that never answers a connection, or to a port
// that refuses it.
enum class At { kListener, kStallingListener, kUnanswered, kRefusing };
// What reached the listener: nothing, a connection that sent nothing, or the request,
// straight or through the proxy.
enum class Received { kNothing, kEmpty, kStraight, kViaProxy };

TEST(Transaction, TheRouteAndTheReplyDecideTheResult) {
    const std::string largest(kHiscoreTextSize - 1, 'r');
    const std::string tooLarge(kRequestBufferSize, 'x');
    // Fourteen pieces, each after a pause of 20 ms.
    const Texts byteByByte = {"H", "T", "T", "P", "/", "1",  ".",
                              "0", " ", "2", "0", "0", "\r", "\n"};
    const Feedback sent = {Status(kConnectingStatus), Status(kSendingStatus), Status(kNoStatus)};
    const Feedback failed = {Status(kConnectingStatus), Status(kSendingStatus),
                             Error(kDataTransferErrorMessage), Status(kNoStatus)};
    const Feedback unconnected = {Status(kConnectingStatus), Error(kCannotConnectMessage),
                                  Status(kNoStatus)};
    // Milliseconds for progress, for each connection attempt and for the whole request.
    struct Limits {
        int stall, connect, request;
    };
    const Limits roomy = {5000, 5000, 5000};
    struct Case {
        const char* what;
        At server, proxy;
        Texts reply;
        UploadResult result;
        Received received;
        int settingsReads, lookups;
        Feedback shown;
        Limits limits = {5000, 5000, 5000};
        std::string body = "A1\nB1\n";
        // "@" stands for the port the proxy's address leads to.
        std::string proxySetting = "127.0.0.1:@";
        unsigned long proxyEnable = 1;
    };
    using enum At;
    using enum Received;
    using enum UploadResult;
    // clang-format off
    const Case cases[] = {
        {"accepted", kListener, kRefusing, {kOk}, kSent, kStraight, 0, 0, sent},
        {"status line in pieces", kListener, kRefusing, {"HT", "TP/1.1 2", "00", " OK\r\n"},
         kSent, kStraight, 0, 0, sent},
        {"status line byte by byte", kListener, kRefusing, byteByByte,
         kSent, kStraight, 0, 0, sent},
        {"byte by byte past the request's limit", kListener, kRefusing, byteByByte,
         kTransferError, kStraight, 0, 0, failed, {5000, 5000, 200}},
        {"refused", kListener, kRefusing, {"HTTP/1.0 404 Not Found\r\n\r\n"},
         kTransferError, kStraight, 0, 0, failed},
        {"thirteen bytes, then closed", kListener, kRefusing, {"HTTP/1.0 200\r"},
         kTransferError, kStraight, 0, 0, failed},
        {"closed without an answer", kListener, kRefusing, {},
         kTransferError, kStraight, 0, 0, failed},
        {"stalls without an answer", kStallingListener, kRefusing, {},
         kTransferError, kStraight, 0, 0, failed, {200, 5000, 5000}},
        {"stalls in the status line", kStallingListener, kRefusing, {"HTTP/1.0 2"},
         kTransferError, kStraight, 0, 0, failed, {200, 5000, 5000}},
        {"empty body", kListener, kRefusing, {kOk}, kSent, kStraight, 0, 0, sent, roomy, ""},
        {"largest text", kListener, kRefusing, {kOk}, kSent, kStraight, 0, 0, sent, roomy, largest},
        {"largest text through the proxy", kRefusing, kListener, {kOk},
         kSent, kViaProxy, 1, 0, sent, roomy, largest},
        {"body too large for the buffer: refused unsent", kListener, kRefusing, {kOk},
         kTransferError, kEmpty, 0, 0, failed, roomy, tooLarge},
        {"proxy disabled", kRefusing, kListener, {kOk},
         kCannotConnect, kNothing, 1, 0, unconnected, roomy, "x\n", "127.0.0.1:@", 0},
        {"proxy enabled with 2", kRefusing, kListener, {kOk},
         kCannotConnect, kNothing, 1, 0, unconnected, roomy, "x\n", "127.0.0.1:@", 2},
        {"proxy unreachable", kRefusing, kRefusing, {}, kCannotConnect, kNothing, 1, 0, unconnected},
        {"server never answers the connection", kUnanswered, kListener, {kOk},
         kSent, kViaProxy, 1, 0, sent, {5000, 200, 600}},
        // The lookup takes longer than the rest of the request's time, which the reply's
        // pieces need: counted against it, they would all come too late.
        {"then the proxy's name is slow to look up", kUnanswered, kListener, byteByByte,
         kSent, kViaProxy, 1, 1, sent, {5000, 200, 800}, "x\n", "p.lan:@"},
        {"no http entry", kRefusing, kListener, {kOk},
         kCannotConnect, kNothing, 1, 0, unconnected, roomy, "x\n", "https=127.0.0.1:@"},
        {"http entry refused", kRefusing, kListener, {kOk},
         kCannotConnect, kNothing, 1, 0, unconnected, roomy, "x\n", "http=127.0.0.1:1;https=p:@"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stand_in::ClearFeedback();
        stand_in::SetHostLookupMilliseconds(800);
        LoopbackServer listener(c.reply, c.server == kStallingListener);
        UnansweringPort unanswering;
        // By where it leads, in the order of At.
        const unsigned short ports[] = {listener.Port(), listener.Port(), unanswering.Port(),
                                        RefusingPort()};
        std::string proxy = c.proxySetting;
        proxy.replace(proxy.find('@'), 1, std::to_string(ports[static_cast<int>(c.proxy)]));
        stand_in::SetInternetSettings(proxy.c_str(), c.proxyEnable);
        UploadServer server =
            LoopbackUploadServer(ports[static_cast<int>(c.server)], c.limits.stall);
        server.connectMilliseconds = c.limits.connect;
        server.requestMilliseconds = c.limits.request;

        const auto started = std::chrono::steady_clock::now();
        UploadRun run = {server};
        EXPECT_EQ(UploadHiscores(run, c.body.c_str()), c.result);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
        EXPECT_EQ(stand_in::InternetSettingsReads(), c.settingsReads);
        EXPECT_EQ(stand_in::HostLookups(), c.lookups);
        const Texts received[] = {{}, {""}, {UploadRequest(c.body)}, {UploadRequest(c.body, true)}};
        EXPECT_EQ(listener.Requests(), received[static_cast<int>(c.received)]);
        EXPECT_EQ(stand_in::Shown(), c.shown);
    }
}

TEST(Transaction, ARunTriesTheRouteOfItsLastAcceptedRequestFirst) {
    // A request's body "a\n" is written a, and one too large to send, which connects but
    // is refused unsent, is written !. For each request in turn the server and the proxy
    // answer (a) or refuse the connection (r). The server goes by a name, looked up for
    // each direct attempt off the kept route.
    struct Case {
        const char* what;
        std::string bodies, server, proxy;
        std::vector<UploadResult> results;
        bool keptViaProxy;
        std::string atServer, atProxy;
        int settingsReads, lookups;
    };
    using enum UploadResult;
    constexpr bool kDirect = false, kProxy = true;
    // clang-format off
    const Case cases[] = {
        {"direct, kept", "ab", "aa", "aa", {kSent, kSent}, kDirect, "ab", "", 0, 1},
        {"through the proxy, kept", "ab", "rr", "aa", {kSent, kSent}, kProxy, "", "ab", 1, 1},
        {"direct, then refused: the proxy at once, kept in turn", "abc", "arr", "aaa",
         {kSent, kSent, kSent}, kProxy, "a", "bc", 1, 1},
        {"connected but not accepted: not kept", "!b", "rr", "aa",
         {kTransferError, kSent}, kProxy, "", "!b", 2, 2},
        {"the proxy, then refused: direct without reading the settings, kept in turn", "abc",
         "raa", "arr", {kSent, kSent, kSent}, kDirect, "bc", "a", 1, 2},
        {"the proxy, then neither: the proxy not tried again", "ab", "rr", "ar",
         {kSent, kCannotConnect}, kProxy, "", "a", 1, 2},
    };
    // clang-format on
    const auto body = [](char name) {
        return name == '!' ? std::string(kRequestBufferSize, 'x') : name + std::string("\n");
    };
    const auto requests = [&](const std::string& names, bool viaProxy) {
        Texts sent;
        for (const char name : names)
            sent.push_back(name == '!' ? "" : UploadRequest(body(name), viaProxy, "tumbra.lan"));
        return sent;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const unsigned short serverPort = RefusingPort();
        unsigned short proxyPort = RefusingPort();
        while (proxyPort == serverPort)
            proxyPort = RefusingPort();
        stand_in::SetInternetSettings(("127.0.0.1:" + std::to_string(proxyPort)).c_str(), 1);
        stand_in::SetHostLookupMilliseconds(0);
        UploadServer server = LoopbackUploadServer(serverPort);
        server.host = "tumbra.lan";
        UploadRun run = {server};
        std::vector<UploadResult> results;
        Texts atServer, atProxy;
        for (size_t n = 0; n < c.bodies.size(); ++n) {
            std::optional<LoopbackServer> toServer, toProxy;
            if (c.server[n] == 'a')
                toServer.emplace(Texts{kOk}, false, -1, serverPort);
            if (c.proxy[n] == 'a')
                toProxy.emplace(Texts{kOk}, false, -1, proxyPort);
            results.push_back(UploadHiscores(run, body(c.bodies[n]).c_str()));
            for (const std::string& request : toServer ? toServer->Requests() : Texts{})
                atServer.push_back(request);
            for (const std::string& request : toProxy ? toProxy->Requests() : Texts{})
                atProxy.push_back(request);
        }
        EXPECT_EQ(results, c.results);
        EXPECT_EQ(std::pair(run.route.port, run.route.viaProxy),
                  std::pair(c.keptViaProxy ? proxyPort : serverPort, c.keptViaProxy));
        EXPECT_EQ(stand_in::InternetSettingsReads(), c.settingsReads);
        EXPECT_EQ(stand_in::HostLookups(), c.lookups);
        EXPECT_EQ(atServer, requests(c.atServer, false));
        EXPECT_EQ(atProxy, requests(c.atProxy, true));
    }
}

} // namespace
} // namespace hiscores
