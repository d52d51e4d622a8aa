#include "hiscores/upload/proxy_setting.h"
#include "hiscores/upload/request.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace hiscores {
namespace {

TEST(Request, BytesAreExactlyTheLayout) {
    struct Case {
        bool viaProxy;
        const char* body;
        const char* expected;
    };
    const Case cases[] = {
        {false, "a\nb\n",
         "POST /rekordy/dopisz.php HTTP/1.0\r\nHost: www.example.org\r\n"
         "User-Agent: SalonTumbraRekordy\r\nContent-Length: 4\r\n\r\na\nb\n"},
        {true, "a\n",
         "POST http://www.example.org/rekordy/dopisz.php HTTP/1.0\r\n"
         "Host: www.example.org\r\nUser-Agent: SalonTumbraRekordy\r\n"
         "Content-Length: 2\r\n\r\na\n"},
        {false, "",
         "POST /rekordy/dopisz.php HTTP/1.0\r\nHost: www.example.org\r\n"
         "User-Agent: SalonTumbraRekordy\r\nContent-Length: 0\r\n\r\n"},
        {false, "100%d", // a percent sign in the body is sent raw
         "POST /rekordy/dopisz.php HTTP/1.0\r\nHost: www.example.org\r\n"
         "User-Agent: SalonTumbraRekordy\r\nContent-Length: 5\r\n\r\n100%d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        char buffer[1000];
        const int length = FormatUploadRequest(buffer, sizeof buffer, c.viaProxy, "www.example.org",
                                               "/rekordy/dopisz.php", "SalonTumbraRekordy", c.body);
        EXPECT_EQ(std::string(buffer, length), c.expected);
    }
}

TEST(Request, RefusesARequestThatWouldNotFitAndWritesNoMore) {
    char buffer[80];
    buffer[sizeof buffer - 1] = 'g';
    char guard[8] = "guard";
    const std::string body(100, 'b');
    EXPECT_EQ(FormatUploadRequest(buffer, 79, false, "h", "/p", "ua", body.c_str()), -1);
    EXPECT_EQ(buffer[sizeof buffer - 1], 'g');
    EXPECT_STREQ(guard, "guard");
}

TEST(Request, FitsExactlyWithItsTerminator) {
    const char* expected =
        "POST /p HTTP/1.0\r\nHost: h\r\nUser-Agent: u\r\nContent-Length: 1\r\n\r\nb";
    const int size = static_cast<int>(strlen(expected)) + 1;
    char buffer[200];
    EXPECT_EQ(FormatUploadRequest(buffer, size, false, "h", "/p", "u", "b"), size - 1);
    EXPECT_EQ(FormatUploadRequest(buffer, size - 1, false, "h", "/p", "u", "b"), -1);
}

TEST(Reply, IsAcceptedByItsStatusLine) {
    struct Case {
        std::string reply;
        bool accepted;
    };
    const Case cases[] = {
        {"HTTP/1.0 200 OK\r\n", true},
        {"HTTP/1.1 200 OK\r\n", true},
        {"HTTP/1.0 200\r\n", true}, // exactly fourteen bytes
        {"HTTP/1.x 200xy", true},   // neither the minor digit nor what follows counts
        {"HTTP/1.0 2000\r\n", true},
        {"HTTP/1.0 404 Not Found\r\n", false},
        {"HTTP/1.0 201 Created\r\n", false},
        {"HTTP/1.0 204 No Content\r\n", false},
        {"HTTP/1.0 200\r", false}, // thirteen bytes
        {"HTTP/2.0 200 OK\r\n", false},
        {"http/1.0 200 OK\r\n", false},
        {"", false},
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
    };
    const Case cases[] = {
        {"http://proxy.lan:3128", true, "proxy.lan", 3128},
        {"proxy.lan:3128", true, "proxy.lan", 3128},
        {"10.0.0.1:8080", true, "10.0.0.1", 8080},
        {"proxy.lan:80/", true, "proxy.lan", 80},
        {"p:99999999999999999999", true, "p", INT_MAX}, // a port too large saturates
        {"proxy.lan", true, "proxy.lan", 80},
        {"http://proxy.lan/", true, "proxy.lan", 80},
        {"http=a.lan:8080;https=b.lan:8443;ftp=c.lan:21", true, "a.lan", 8080},
        {"ftp=c.lan:21; HTTP=http://a.lan", true, "a.lan", 80},
        {"https=b.lan:8443;ftp=c.lan:21", false, "", 0},
        {"http=;https=b.lan:8443", false, "", 0},
        {"", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        char host[kProxyHostSize];
        int port = -1;
        EXPECT_EQ(ParseProxyServer(c.setting, host, sizeof host, &port), c.parsed);
        EXPECT_STREQ(host, c.host);
        EXPECT_EQ(port, c.port);
    }
}

TEST(ProxySetting, HostIsCutToItsBuffer) {
    char host[5];
    int port = 0;
    EXPECT_TRUE(ParseProxyServer("abcdefgh:1", host, sizeof host, &port));
    EXPECT_STREQ(host, "abcd");
}

TEST(ProxySetting, UsedOnlyWhenEnabledWithOne) {
    char host[kProxyHostSize];
    int port = 0;
    EXPECT_TRUE(UseProxy("p:1", 1, host, sizeof host, &port));
    EXPECT_FALSE(UseProxy("p:1", 0, host, sizeof host, &port));
    EXPECT_FALSE(UseProxy("p:1", 2, host, sizeof host, &port));
    EXPECT_FALSE(UseProxy("https=p:1", 1, host, sizeof host, &port));
}

} // namespace
} // namespace hiscores
