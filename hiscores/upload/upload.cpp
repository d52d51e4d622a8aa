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
bool ResolveEndpoint(const char* host, unsigned short port, sockaddr_in* endpoint) {
    memset(endpoint, 0, sizeof *endpoint);
    endpoint->sin_family = AF_INET;
    endpoint->sin_port = htons(port);
    const unsigned long address = inet_addr(host);
    if (address != INADDR_NONE) {
        endpoint->sin_addr.s_addr = static_cast<decltype(endpoint->sin_addr.s_addr)>(address);
        return true;
    }
    const hostent* entry = gethostbyname(host);
    if (entry == nullptr || entry->h_addr_list[0] == nullptr)
        return false;
    memcpy(&endpoint->sin_addr, entry->h_addr_list[0], sizeof endpoint->sin_addr);
    return true;
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

// A fresh socket connected to host and port, or kNoSocket with the failure: a socket
// whose connect failed is not reliable for a second attempt.
SocketHandle ConnectToEndpoint(const char* host, unsigned short port, UploadResult* failure) {
    const SocketHandle handle = OpenBoundSocket();
    if (handle == kNoSocket) {
        *failure = UploadResult::kSystemError;
        return kNoSocket;
    }
    sockaddr_in endpoint;
    if (ResolveEndpoint(host, port, &endpoint) &&
        connect(handle, reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint) >= 0)
        return handle;
    CloseSocket(handle);
    *failure = UploadResult::kCannotConnect;
    return kNoSocket;
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

// Connects to the server directly or, when it cannot be reached, through the user's
// proxy. Returns true with the connection, or false with the failure's result.
bool ConnectToServer(const UploadServer& server, Connection* connection, UploadResult* failure) {
    *connection = {ConnectToEndpoint(server.host, server.port, failure), false};
    if (connection->handle == kNoSocket && *failure == UploadResult::kCannotConnect) {
        char proxyHost[kProxyHostSize];
        int proxyPort = 0;
        if (FindProxy(proxyHost, &proxyPort))
            *connection = {
                ConnectToEndpoint(proxyHost, static_cast<unsigned short>(proxyPort), failure),
                true};
    }
    return connection->handle != kNoSocket;
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

UploadResult Exchange(const Connection& connection, const UploadServer& server, const char* body) {
    char request[kRequestBufferSize];
    const int length =
        FormatUploadRequest(server, connection.viaProxy, body, request, sizeof request);
    if (length < 0 || !SendAll(connection.handle, request, length, server.stallMilliseconds))
        return UploadResult::kTransferError;
    const int received = ReceiveStatusLine(connection.handle, request, server.stallMilliseconds);
    return IsAcceptedReply(request, received) ? UploadResult::kSent : UploadResult::kTransferError;
}

void ReportFailure(UploadResult result) {
    switch (result) {
    case UploadResult::kTransferError:
        ShowError(kDataTransferErrorMessage);
        break;
    case UploadResult::kCannotConnect:
        ShowError(kCannotConnectMessage);
        break;
    case UploadResult::kSystemError:
        ShowError(kSystemErrorMessage);
        break;
    case UploadResult::kSent:
        break;
    }
}

} // namespace

UploadResult UploadHiscores(const UploadServer& server, const char* body) {
    UploadResult result = UploadResult::kSystemError;
    if (StartSockets()) {
        SetStatus(kConnectingStatus);
        Connection connection;
        if (ConnectToServer(server, &connection, &result)) {
            SetStatus(kSendingStatus);
            result = Exchange(connection, server, body);
            ShutdownSocket(connection.handle);
            CloseSocket(connection.handle);
        }
        StopSockets();
    }
    ReportFailure(result);
    SetStatus(kNoStatus);
    return result;
}

} // namespace hiscores
