#include "hiscores/upload/upload.h"

#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
#include "hiscores/upload/internet_settings.h"
#include "hiscores/upload/proxy_setting.h"
#include "hiscores/upload/request.h"
#include "hiscores/upload/sockets.h"

#include <cstring>

namespace hiscores {

namespace {

// Fills endpoint for a dotted address or, failing that, a host name's first address.
int ResolveEndpoint(const char* host, unsigned short port, sockaddr_in* endpoint) {
    memset(endpoint, 0, sizeof *endpoint);
    endpoint->sin_family = AF_INET;
    endpoint->sin_port = htons(port);
    const unsigned long address = inet_addr(host);
    if (address != INADDR_NONE) {
        endpoint->sin_addr.s_addr = static_cast<decltype(endpoint->sin_addr.s_addr)>(address);
        return 0;
    }
    const hostent* entry = gethostbyname(host);
    if (entry == nullptr || entry->h_addr_list[0] == nullptr)
        return -1;
    memcpy(&endpoint->sin_addr, entry->h_addr_list[0], sizeof endpoint->sin_addr);
    return 0;
}

SocketHandle OpenBoundSocket() {
    const SocketHandle handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (handle == kNoSocket)
        return kNoSocket;
    sockaddr_in local;
    memset(&local, 0, sizeof local);
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (bind(handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        CloseSocket(handle);
        return kNoSocket;
    }
    return handle;
}

bool Connect(SocketHandle handle, const sockaddr_in& endpoint) {
    return connect(handle, reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint) >= 0;
}

// The proxy the user's settings name, when one is enabled.
bool FindProxy(char (&host)[kProxyHostSize], int* port) {
    char server[kProxyServerSize];
    unsigned long enable = 0;
    return ReadInternetSettings(server, &enable) &&
           UseProxy(server, enable, host, sizeof host, port);
}

struct Connection {
    SocketHandle handle;
    bool viaProxy;
};

// Connects to the server directly or, when that fails, through the user's proxy. A
// socket whose connect failed is not reliable for a second attempt, so the proxy gets
// a fresh one. Returns true with the connection, or false with the failure's result.
bool ConnectToServer(const char* host, unsigned short port, Connection* connection, int* failure) {
    SocketHandle handle = OpenBoundSocket();
    *failure = kUploadSystemError;
    if (handle == kNoSocket)
        return false;
    sockaddr_in endpoint;
    if (ResolveEndpoint(host, port, &endpoint) == 0 && Connect(handle, endpoint)) {
        *connection = Connection{handle, false};
        return true;
    }
    CloseSocket(handle);

    char proxyHost[kProxyHostSize];
    int proxyPort = 0;
    *failure = kUploadCannotConnect;
    if (!FindProxy(proxyHost, &proxyPort))
        return false;
    handle = OpenBoundSocket();
    if (handle == kNoSocket) {
        *failure = kUploadSystemError;
        return false;
    }
    if (ResolveEndpoint(proxyHost, static_cast<unsigned short>(proxyPort), &endpoint) != 0 ||
        !Connect(handle, endpoint)) {
        CloseSocket(handle);
        return false;
    }
    *connection = Connection{handle, true};
    return true;
}

// Whether the socket can take more data (or, reading, has some) within the time; a
// server that accepted the connection must not keep the program waiting for ever.
bool WaitUntilReady(SocketHandle handle, bool forWriting, int milliseconds) {
    fd_set sockets;
    FD_ZERO(&sockets);
    FD_SET(handle, &sockets);
    timeval limit = {milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(static_cast<int>(handle) + 1, forWriting ? nullptr : &sockets,
                  forWriting ? &sockets : nullptr, nullptr, &limit) == 1;
}

// Ready to write promises room for some bytes, not for the whole request: a blocking
// send of a piece this small returns at once.
constexpr int kSendPieceSize = 1024;

bool SendAll(SocketHandle handle, const char* data, int length, int stallMilliseconds) {
    while (length > 0) {
        if (!WaitUntilReady(handle, true, stallMilliseconds))
            return false;
        const int sent = SendSome(handle, data, length < kSendPieceSize ? length : kSendPieceSize);
        if (sent <= 0)
            return false;
        data += sent;
        length -= sent;
    }
    return true;
}

// A stream may bring the status line in pieces: gather until the bytes that decide
// have come, the server closes or stalls, or a receive fails.
int ReceiveStatusLine(SocketHandle handle, char* reply, int stallMilliseconds) {
    int received = 0;
    while (received < kStatusLineCheckLength && WaitUntilReady(handle, false, stallMilliseconds)) {
        const int got = static_cast<int>(recv(
            handle, reply + received, static_cast<size_t>(kStatusLineCheckLength - received), 0));
        if (got <= 0)
            break;
        received += got;
    }
    return received;
}

int Exchange(const Connection& connection, const UploadServer& server, const char* path,
             const char* userAgent, const char* body, char* request, int requestSize) {
    const int length = FormatUploadRequest(request, requestSize, connection.viaProxy, server.host,
                                           path, userAgent, body);
    if (length < 0 || !SendAll(connection.handle, request, length, server.stallMilliseconds))
        return kUploadTransferError;
    const int received = ReceiveStatusLine(connection.handle, request, server.stallMilliseconds);
    return IsAcceptedReply(request, received) ? kUploadSent : kUploadTransferError;
}

void ReportFailure(int result) {
    switch (result) {
    case kUploadTransferError:
        ShowError(kDataTransferErrorMessage);
        break;
    case kUploadCannotConnect:
        ShowError(kCannotConnectMessage);
        break;
    case kUploadSystemError:
        ShowError(kSystemErrorMessage);
        break;
    default:
        break;
    }
}

} // namespace

int UploadHiscoresTo(const UploadServer& server, const char* path, const char* userAgent,
                     const char* body, char* request, int requestSize) {
    if (!StartSockets()) {
        ReportFailure(kUploadSystemError);
        SetStatus(kNoStatus);
        return kUploadSystemError;
    }
    SetStatus(kConnectingStatus);
    Connection connection;
    int result = kUploadSystemError;
    if (ConnectToServer(server.host, server.port, &connection, &result)) {
        SetStatus(kSendingStatus);
        result = Exchange(connection, server, path, userAgent, body, request, requestSize);
        ShutdownSocket(connection.handle);
        CloseSocket(connection.handle);
    }
    StopSockets();
    ReportFailure(result);
    SetStatus(kNoStatus);
    return result;
}

int UploadHiscores(const char* path, const char* userAgent, const char* body, char* request,
                   int requestSize) {
    return UploadHiscoresTo(kWebsite, path, userAgent, body, request, requestSize);
}

} // namespace hiscores
