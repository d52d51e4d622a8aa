#include "hiscores/upload/proxy_setting.h"
#include "hiscores/upload/request.h"
#include "tests/support/loopback_server.h"

#include <gtest/gtest.h>

#include <string>

namespace hiscores {
namespace {

TEST(Request, IsExactlyTheLayoutWrittenOnlyWhenItFitsWithItsTerminator) {
    struct Case {
        bool viaProxy;
        std::string body;
        int shortBy; // bytes the buffer lacks for the request and its terminator
    };
    // A percent sign in the body is sent raw.
    const Case cases[] = {
        {false, "a\nb\n", 0}, {true, "a\n", 0}, {false, "", 0},
        {false, "100%d", 0},  {false, "b", 1},  {false, std::string(100, 'b'), 100},
    };
    for (const Case& c : cases) {
        const std::string request = UploadRequest(c.body, c.viaProxy);
        SCOPED_TRACE(request);
        const int size = static_cast<int>(request.size()) + 1 - c.shortBy;
        std::string buffer(request.size() + 2, 'g');
        EXPECT_EQ(FormatUploadRequest(LoopbackUploadServer(80), c.viaProxy, c.body.c_str(),
                                      buffer.data(), size),
                  c.shortBy > 0 ? -1 : static_cast<int>(request.size()));
        // Refused, only the terminator is promised; nothing is written from size on.
        const std::string written = c.shortBy > 0 ? std::string(1, '\0') : request + '\0';
        EXPECT_EQ(buffer.substr(0, written.size()), written);
        EXPECT_EQ(buffer.find_first_not_of('g', size), std::string::npos);
    }
}

TEST(Request, BufferHoldsTheLongestRequestForTheLargestText) {
    const std::string largest(kHiscoreTextSize - 1, 'r');
    char buffer[kRequestBufferSize];
    EXPECT_GT(FormatUploadRequest(kWebsite, true, largest.c_str(), buffer, sizeof buffer), 0);
}

TEST(Reply, IsAcceptedByItsStatusLine) {
    struct Case {
        std::string reply;
        bool accepted;
    };
    // Fourteen bytes are enough, thirteen are not; neither the minor digit nor what follows
    // the status counts.
    const Case cases[] = {
        {"HTTP/1.0 200 OK\r\n", true},       {"HTTP/1.1 200 OK\r\n", true},
        {"HTTP/1.0 200\r\n", true},          {"HTTP/1.x 200xy", true},
        {"HTTP/1.0 2000\r\n", true},         {"HTTP/1.0 404 Not Found\r\n", false},
        {"HTTP/1.0 201 Created\r\n", false}, {"HTTP/1.0 204 No Content\r\n", false},
        {"HTTP/1.0 200\r", false},           {"HTTP/2.0 200 OK\r\n", false},
        {"http/1.0 200 OK\r\n", false},      {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        EXPECT_EQ(IsAcceptedReply(c.reply.data(), static_cast<int>(c.reply.size())), c.accepted);
    }
}

TEST(ProxySetting, SplitsHostAndPort) {
    struct Case {
        const char* setting;
        bool parsed;
        const char* host;
        int port;
        int hostSize = kProxyHostSize; // a smaller buffer cuts the host
    };
    const Case cases[] = {
        {"http://proxy.lan:3128", true, "proxy.lan", 3128},
        {"proxy.lan:3128", true, "proxy.lan", 3128},
        {"10.0.0.1:8080", true, "10.0.0.1", 8080},
        {"proxy.lan:80/", true, "proxy.lan", 80},
        {"p:65535", true, "p", 65535},
        // A port that is no port names no proxy, as a cast to 16 bits would name another.
        {"127.0.0.1:83616", false, "", 0},
        {"p:65536", false, "", 0},
        {"p:99999999999999999999", false, "", 0},
        {"p:0", false, "", 0},
        {"p:", false, "", 0},
        {"proxy.lan", true, "proxy.lan", 80},
        {"http://proxy.lan/", true, "proxy.lan", 80},
        {"http=a.lan:8080;https=b.lan:8443;ftp=c.lan:21", true, "a.lan", 8080},
        {"ftp=c.lan:21; HTTP=http://a.lan", true, "a.lan", 80},
        {"https=b.lan:8443;ftp=c.lan:21", false, "", 0},
        {"http=;https=b.lan:8443", false, "", 0},
        {"", false, "", 0},
        {"abcdefgh:1", true, "abcd", 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        char host[kProxyHostSize];
        int port = -1;
        EXPECT_EQ(ParseProxyServer(c.setting, host, c.hostSize, &port), c.parsed);
        EXPECT_STREQ(host, c.host);
        EXPECT_EQ(port, c.port);
    }
}

} // namespace
} // namespace hiscores
