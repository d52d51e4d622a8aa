#include "hiscores/upload/upload.h"

#include "hiscores/common/feedback.h"
#include "hiscores/common/messages.h"
#include "hiscores/upload/host_lookup.h"
#include "hiscores/upload/internet_settings.h"
#include "hiscores/upload/proxy_setting.h"
#include "hiscores/upload/request.h"
#include "hiscores/upload/sockets.h"

#include <cstring>

namespace hiscores {

namespace {

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

// How long the next wait may take: its own limit, cut to what is left of the request's
// time, which ends at deadline.
int WaitLimit(unsigned int deadline, int limit) {
    const int left = static_cast<int>(deadline - NowMilliseconds());
    return left < 0 ? 0 : left < limit ? left : limit;
}

enum class Readiness { kReadable, kWritable, kConnected };

// Whether the socket has data, has room for more, or has finished connecting within the
// time. A failed connection attempt shows as an exception on Windows.
bool WaitUntilReady(SocketHandle handle, Readiness readiness, int milliseconds) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(handle, &ready);
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(handle, &failed);
    timeval limit = {milliseconds / 1000, (milliseconds % 1000) * 1000};
    const bool reading = readiness == Readiness::kReadable;
    return select(static_cast<int>(handle) + 1, reading ? &ready : nullptr,
                  reading ? nullptr : &ready,
                  readiness == Readiness::kConnected ? &failed : nullptr, &limit) >= 1;
}

// Connects in the background, since a destination that never answers would hold a
// blocking connect for as long as the system retries, and waits for the outcome within
// the time. The exchange then waits before each call itself.
bool ConnectWithin(SocketHandle handle, const sockaddr_in& endpoint, int milliseconds) {
    if (!SetBlocking(handle, false))
        return false;
    const bool connected =
        connect(handle, reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint) == 0 ||
        (ConnectInProgress() && WaitUntilReady(handle, Readiness::kConnected, milliseconds) &&
         ConnectError(handle) == 0);
    return connected && SetBlocking(handle, true);
}

// One request's time: it ends at deadline, and each wait is cut to what is left of it.
struct Request {
    const UploadServer& server;
    unsigned int deadline;
};

// A socket connected along route, or none and the failure.
struct Connection {
    SocketHandle handle = kNoSocket;
    UploadRoute route = {};
    UploadResult failure = UploadResult::kCannotConnect;
};

// Whether another way may still connect: this one led nowhere, rather than failing for
// want of a socket.
bool MayTryAnotherWay(const Connection& connection) {
    return connection.handle == kNoSocket && connection.failure == UploadResult::kCannotConnect;
}

// One attempt on a fresh socket, within the limit for an attempt and what is left of the
// request's time: a socket whose connect failed is not reliable for a second attempt.
Connection ConnectAlong(const UploadRoute& route, const Request& request) {
    const SocketHandle handle = OpenBoundSocket();
    if (handle == kNoSocket)
        return {kNoSocket, route, UploadResult::kSystemError};
    sockaddr_in endpoint;
    memset(&endpoint, 0, sizeof endpoint);
    endpoint.sin_family = AF_INET;
    endpoint.sin_port = htons(route.port);
    endpoint.sin_addr.s_addr = static_cast<decltype(endpoint.sin_addr.s_addr)>(route.address);
    if (ConnectWithin(handle, endpoint,
                      WaitLimit(request.deadline, request.server.connectMilliseconds)))
        return {handle, route};
    CloseSocket(handle);
    return {};
}

// The address of a dotted host or, failing that, a host name's first address. A lookup's
// time is the system's, not the request's: the request's end moves by as much.
bool ResolveAddress(const char* host, Request& request, unsigned int* address) {
    const unsigned long dotted = inet_addr(host);
    if (dotted != INADDR_NONE) {
        *address = static_cast<unsigned int>(dotted);
        return true;
    }
    const unsigned int started = NowMilliseconds();
    const bool found = LookUpHost(host, address);
    request.deadline += NowMilliseconds() - started;
    return found;
}

Connection ConnectDirectly(Request& request) {
    UploadRoute route = {0, request.server.port, false};
    if (!ResolveAddress(request.server.host, request, &route.address))
        return {};
    return ConnectAlong(route, request);
}

// Through the proxy the user's settings name now, when one is enabled.
Connection ConnectThroughProxy(Request& request) {
    char server[kProxyServerSize];
    unsigned long enable = 0;
    char host[kProxyHostSize];
    int port = 0;
    if (!ReadInternetSettings(server, &enable) ||
        !UseProxy(server, enable, host, sizeof host, &port))
        return {};
    UploadRoute route = {0, static_cast<unsigned short>(port), true};
    if (!ResolveAddress(host, request, &route.address))
        return {};
    return ConnectAlong(route, request);
}

// The run's route, else directly, else through the proxy: each way once, so a kept route
// that cannot connect gives way to the other.
Connection ConnectToServer(const UploadRun& run, Request& request) {
    const bool keptDirect = run.route.port != 0 && !run.route.viaProxy;
    const bool keptProxy = run.route.port != 0 && run.route.viaProxy;
    Connection connection;
    if (keptDirect || keptProxy)
        connection = ConnectAlong(run.route, request);
    if (MayTryAnotherWay(connection) && !keptDirect)
        connection = ConnectDirectly(request);
    if (MayTryAnotherWay(connection) && !keptProxy)
        connection = ConnectThroughProxy(request);
    return connection;
}

// Ready to write promises room for some bytes, not for the whole request: a blocking
// send of a piece this small returns at once.
constexpr int kSendPieceSize = 1024;

bool WaitForProgress(SocketHandle handle, const Request& request, Readiness readiness) {
    return WaitUntilReady(handle, readiness,
                          WaitLimit(request.deadline, request.server.stallMilliseconds));
}

bool SendAll(SocketHandle handle, const Request& request, const char* data, int length) {
    while (length > 0) {
        if (!WaitForProgress(handle, request, Readiness::kWritable))
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
// have come, the server closes or stalls, the request's time is up, or a receive fails.
int ReceiveStatusLine(SocketHandle handle, const Request& request, char* reply) {
    int received = 0;
    while (received < kStatusLineCheckLength &&
           WaitForProgress(handle, request, Readiness::kReadable)) {
        const int got = static_cast<int>(recv(
            handle, reply + received, static_cast<size_t>(kStatusLineCheckLength - received), 0));
        if (got <= 0)
            break;
        received += got;
    }
    return received;
}

UploadResult Exchange(const Connection& connection, const Request& request, const char* body) {
    char buffer[kRequestBufferSize];
    const int length =
        FormatUploadRequest(request.server, connection.route.viaProxy, body, buffer, sizeof buffer);
    if (length < 0 || !SendAll(connection.handle, request, buffer, length))
        return UploadResult::kTransferError;
    const int received = ReceiveStatusLine(connection.handle, request, buffer);
    return IsAcceptedReply(buffer, received) ? UploadResult::kSent : UploadResult::kTransferError;
}

// Once sockets have started. An accepted request's route becomes the run's.
UploadResult Post(UploadRun& run, const char* body) {
    SetStatus(kConnectingStatus);
    Request request = {run.server, NowMilliseconds() +
                                       static_cast<unsigned int>(run.server.requestMilliseconds)};
    const Connection connection = ConnectToServer(run, request);
    if (connection.handle == kNoSocket)
        return connection.failure;
    SetStatus(kSendingStatus);
    const UploadResult result = Exchange(connection, request, body);
    ShutdownSocket(connection.handle);
    CloseSocket(connection.handle);
    if (result == UploadResult::kSent)
        run.route = connection.route;
    return result;
}

} // namespace

const char* UploadFailureMessage(UploadResult result) {
    switch (result) {
    case UploadResult::kSystemError:
        return kSystemErrorMessage;
    case UploadResult::kCannotConnect:
        return kCannotConnectMessage;
    default:
        return kDataTransferErrorMessage;
    }
}

UploadResult UploadHiscores(UploadRun& run, const char* body) {
    UploadResult result = UploadResult::kSystemError;
    if (StartSockets()) {
        result = Post(run, body);
        StopSockets();
    }
    if (result == UploadResult::kSent)
        ++run.acceptedRequests;
    else if (run.acceptedRequests == 0)
        ShowError(UploadFailureMessage(result));
    SetStatus(kNoStatus);
    return result;
}

} // namespace hiscores
