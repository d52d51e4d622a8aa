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

// The address of a dotted host or, failing that, a host name's first address.
bool ResolveAddress(const char* host, unsigned int* address) {
    const unsigned long dotted = inet_addr(host);
    if (dotted != INADDR_NONE) {
        *address = static_cast<unsigned int>(dotted);
        return true;
    }
    const hostent* entry = gethostbyname(host);
    if (entry == nullptr || entry->h_addr_list[0] == nullptr)
        return false;
    memcpy(address, entry->h_addr_list[0], sizeof *address);
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

// A fresh socket connected along the route within the time, or kNoSocket with the
// failure: a socket whose connect failed is not reliable for a second attempt.
SocketHandle ConnectAlong(const UploadRoute& route, int milliseconds, UploadResult* failure) {
    const SocketHandle handle = OpenBoundSocket();
    if (handle == kNoSocket) {
        *failure = UploadResult::kSystemError;
        return kNoSocket;
    }
    sockaddr_in endpoint;
    memset(&endpoint, 0, sizeof endpoint);
    endpoint.sin_family = AF_INET;
    endpoint.sin_port = htons(route.port);
    endpoint.sin_addr.s_addr = static_cast<decltype(endpoint.sin_addr.s_addr)>(route.address);
    if (ConnectWithin(handle, endpoint, milliseconds))
        return handle;
    CloseSocket(handle);
    *failure = UploadResult::kCannotConnect;
    return kNoSocket;
}

// The run's route or, before one worked, the way straight to the server; false when the
// server's name does not resolve.
bool FirstRoute(const UploadRun& run, UploadRoute* route) {
    if (run.route.port != 0) {
        *route = run.route;
        return true;
    }
    *route = {0, run.server.port, false};
    return ResolveAddress(run.server.host, &route->address);
}

// The way through the proxy the user's settings name, when one is enabled.
bool ProxyRoute(UploadRoute* route) {
    char server[kProxyServerSize];
    unsigned long enable = 0;
    char host[kProxyHostSize];
    int port = 0;
    if (!ReadInternetSettings(server, &enable) ||
        !UseProxy(server, enable, host, sizeof host, &port))
        return false;
    *route = {0, static_cast<unsigned short>(port), true};
    return ResolveAddress(host, &route->address);
}

// One request's connection, the end of its time, and how long it may wait for progress.
struct Request {
    SocketHandle handle;
    bool viaProxy;
    unsigned int deadline;
    int stallMilliseconds;
};

// Connects along the run's route or, before one worked, directly or, when the server
// cannot be reached, through the user's proxy; the route that connects becomes the
// run's. Returns true with the request, or false with the failure's result.
bool ConnectToServer(UploadRun& run, Request* request, UploadResult* failure) {
    UploadRoute route;
    const bool resolved = FirstRoute(run, &route);
    // The request's time runs from its first connection attempt; looking up a name is
    // left to the system's own limits.
    request->deadline =
        NowMilliseconds() + static_cast<unsigned int>(run.server.requestMilliseconds);
    request->stallMilliseconds = run.server.stallMilliseconds;
    const int limit = run.server.connectMilliseconds;
    *failure = UploadResult::kCannotConnect;
    request->handle =
        resolved ? ConnectAlong(route, WaitLimit(request->deadline, limit), failure) : kNoSocket;
    if (request->handle == kNoSocket && *failure == UploadResult::kCannotConnect &&
        run.route.port == 0 && ProxyRoute(&route))
        request->handle = ConnectAlong(route, WaitLimit(request->deadline, limit), failure);
    if (request->handle == kNoSocket)
        return false;
    run.route = route;
    request->viaProxy = route.viaProxy;
    return true;
}

// Ready to write promises room for some bytes, not for the whole request: a blocking
// send of a piece this small returns at once.
constexpr int kSendPieceSize = 1024;

bool WaitForProgress(const Request& request, Readiness readiness) {
    return WaitUntilReady(request.handle, readiness,
                          WaitLimit(request.deadline, request.stallMilliseconds));
}

bool SendAll(const Request& request, const char* data, int length) {
    while (length > 0) {
        if (!WaitForProgress(request, Readiness::kWritable))
            return false;
        const int sent =
            SendSome(request.handle, data, length < kSendPieceSize ? length : kSendPieceSize);
        if (sent <= 0)
            return false;
        data += sent;
        length -= sent;
    }
    return true;
}

// A stream may bring the status line in pieces: gather until the bytes that decide
// have come, the server closes or stalls, the request's time is up, or a receive fails.
int ReceiveStatusLine(const Request& request, char* reply) {
    int received = 0;
    while (received < kStatusLineCheckLength && WaitForProgress(request, Readiness::kReadable)) {
        const int got =
            static_cast<int>(recv(request.handle, reply + received,
                                  static_cast<size_t>(kStatusLineCheckLength - received), 0));
        if (got <= 0)
            break;
        received += got;
    }
    return received;
}

UploadResult Exchange(const Request& request, const UploadServer& server, const char* body) {
    char buffer[kRequestBufferSize];
    const int length = FormatUploadRequest(server, request.viaProxy, body, buffer, sizeof buffer);
    if (length < 0 || !SendAll(request, buffer, length))
        return UploadResult::kTransferError;
    const int received = ReceiveStatusLine(request, buffer);
    return IsAcceptedReply(buffer, received) ? UploadResult::kSent : UploadResult::kTransferError;
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
        SetStatus(kConnectingStatus);
        Request request;
        if (ConnectToServer(run, &request, &result)) {
            SetStatus(kSendingStatus);
            result = Exchange(request, run.server, body);
            ShutdownSocket(request.handle);
            CloseSocket(request.handle);
        }
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
