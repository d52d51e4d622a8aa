#include "hiscores/upload/proxy_setting.h"
#include "hiscores/upload/request.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace hiscores {
namespace {

struct RequestCase {
    const char* behaviour;
    bool viaProxy;
    const char* body;
    const char* expected;
};

class RequestBytesTest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(RequestBytesTest, AreExactlyTheLayout) {
    char buffer[1000];
    const int length =
        FormatUploadRequest(buffer, sizeof buffer, GetParam().viaProxy, "www.example.org",
                            "/rekordy/dopisz.php", "SalonTumbraRekordy", GetParam().body);
    EXPECT_EQ(std::string(buffer, length), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RequestBytesTest,
    ::testing::Values(
        RequestCase{"Direct", false, "a\nb\n",
                    "POST /rekordy/dopisz.php HTTP/1.0\r\nHost: www.example.org\r\n"
                    "User-Agent: SalonTumbraRekordy\r\nContent-Length: 4\r\n\r\na\nb\n"},
        RequestCase{"ThroughProxy", true, "a\n",
                    "POST http://www.example.org/rekordy/dopisz.php HTTP/1.0\r\n"
                    "Host: www.example.org\r\nUser-Agent: SalonTumbraRekordy\r\n"
                    "Content-Length: 2\r\n\r\na\n"},
        RequestCase{"EmptyBody", false, "",
                    "POST /rekordy/dopisz.php HTTP/1.0\r\nHost: www.example.org\r\n"
                    "User-Agent: SalonTumbraRekordy\r\nContent-Length: 0\r\n\r\n"},
        RequestCase{"PercentInBodyIsRaw", false, "100%d",
                    "POST /rekordy/dopisz.php HTTP/1.0\r\nHost: www.example.org\r\n"
                    "User-Agent: SalonTumbraRekordy\r\nContent-Length: 5\r\n\r\n100%d"}),
    [](const ::testing::TestParamInfo<RequestCase>& info) { return info.param.behaviour; });

TEST(RequestLimits, RefusesARequestThatWouldNotFitAndWritesNoMore) {
    char buffer[80];
    buffer[sizeof buffer - 1] = 'g';
    char guard[8] = "guard";
    const std::string body(100, 'b');
    EXPECT_EQ(FormatUploadRequest(buffer, 79, false, "h", "/p", "ua", body.c_str()), -1);
    EXPECT_EQ(buffer[sizeof buffer - 1], 'g');
    EXPECT_STREQ(guard, "guard");
}

TEST(RequestLimits, FitsExactlyWithItsTerminator) {
    const char* expected =
        "POST /p HTTP/1.0\r\nHost: h\r\nUser-Agent: u\r\nContent-Length: 1\r\n\r\nb";
    const int size = static_cast<int>(strlen(expected)) + 1;
    char buffer[200];
    EXPECT_EQ(FormatUploadRequest(buffer, size, false, "h", "/p", "u", "b"), size - 1);
    EXPECT_EQ(FormatUploadRequest(buffer, size - 1, false, "h", "/p", "u", "b"), -1);
}

struct ReplyCase {
    const char* behaviour;
    std::string reply;
    bool accepted;
};

class ReplyCheckTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyCheckTest, DecidesByTheStatusLine) {
    EXPECT_EQ(IsAcceptedReply(GetParam().reply.data(), static_cast<int>(GetParam().reply.size())),
              GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyCheckTest,
    ::testing::Values(ReplyCase{"Http10Ok", "HTTP/1.0 200 OK\r\n", true},
                      ReplyCase{"Http11Ok", "HTTP/1.1 200 OK\r\n", true},
                      ReplyCase{"ExactlyFourteenBytes", "HTTP/1.0 200\r\n", true},
                      ReplyCase{"AnyMinorDigitAndAnythingAfter200", "HTTP/1.x 200xy", true},
                      ReplyCase{"NotFound", "HTTP/1.0 404 Not Found\r\n", false},
                      ReplyCase{"ThirteenBytes", "HTTP/1.0 200\r", false},
                      ReplyCase{"Http2", "HTTP/2.0 200 OK\r\n", false},
                      ReplyCase{"TwoThousand", "HTTP/1.0 2000\r\n", true},
                      ReplyCase{"LowerCase", "http/1.0 200 OK\r\n", false},
                      ReplyCase{"Empty", "", false}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return info.param.behaviour; });

struct ProxyCase {
    const char* behaviour;
    const char* setting;
    bool parsed;
    const char* host;
    int port;
};

class ProxySettingTest : public ::testing::TestWithParam<ProxyCase> {};

TEST_P(ProxySettingTest, SplitsHostAndPort) {
    char host[kProxyHostSize];
    int port = -1;
    EXPECT_EQ(ParseProxyServer(GetParam().setting, host, sizeof host, &port), GetParam().parsed);
    EXPECT_STREQ(host, GetParam().host);
    EXPECT_EQ(port, GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxySettingTest,
    ::testing::Values(ProxyCase{"SchemeHostPort", "http://proxy.lan:3128", true, "proxy.lan", 3128},
                      ProxyCase{"HostPort", "proxy.lan:3128", true, "proxy.lan", 3128},
                      ProxyCase{"DottedAddress", "10.0.0.1:8080", true, "10.0.0.1", 8080},
                      ProxyCase{"PerProtocolList", "http=a.lan:8080;https=b.lan:8443", true,
                                "http=a.lan:8080;https=b.lan", 8443},
                      ProxyCase{"NoColonIsNoProxy", "proxy.lan", false, "", 0},
                      ProxyCase{"PortWithTrailingText", "proxy.lan:80/", true, "proxy.lan", 80},
                      ProxyCase{"PortTooLargeSaturates", "p:99999999999999999999", true, "p",
                                INT_MAX},
                      ProxyCase{"Empty", "", false, "", 0}),
    [](const ::testing::TestParamInfo<ProxyCase>& info) { return info.param.behaviour; });

TEST(ProxySettingLimits, HostIsCutToItsBuffer) {
    char host[5];
    int port = 0;
    EXPECT_TRUE(ParseProxyServer("abcdefgh:1", host, sizeof host, &port));
    EXPECT_STREQ(host, "abcd");
}

TEST(ProxySettingLimits, UsedOnlyWhenEnabledWithOne) {
    char host[kProxyHostSize];
    int port = 0;
    EXPECT_TRUE(UseProxy("p:1", 1, host, sizeof host, &port));
    EXPECT_FALSE(UseProxy("p:1", 0, host, sizeof host, &port));
    EXPECT_FALSE(UseProxy("p:1", 2, host, sizeof host, &port));
    EXPECT_FALSE(UseProxy("p", 1, host, sizeof host, &port));
}

} // namespace
} // namespace hiscores
