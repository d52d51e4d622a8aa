#include "tests/support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

sockaddr_in LoopbackAddress(unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// At *port, or at a free port when it is 0; a test may take a port of its own again.
int ListenOnLoopback(unsigned short* port) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int reuse = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address = LoopbackAddress(*port);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        abort();
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return listener;
}

// Where the request's body starts, once its head and Content-Length bytes of body have
// all come; npos until then.
size_t BodyStart(const std::string& data) {
    const size_t headEnd = data.find("\r\n\r\n");
    if (headEnd == std::string::npos)
        return std::string::npos;
    const size_t field = data.find("Content-Length: ");
    const size_t bodyLength = field < headEnd ? atoi(data.c_str() + field + 16) : 0;
    return data.size() >= headEnd + 4 + bodyLength ? headEnd + 4 : std::string::npos;
}

} // namespace

LoopbackServer::LoopbackServer(std::vector<std::string> replyPieces, bool stall,
                               int answeredRequests, unsigned short port)
    : port_(port), replyPieces_(std::move(replyPieces)), stall_(stall),
      answeredRequests_(answeredRequests) {
    listener_ = ListenOnLoopback(&port_);
    listen(listener_, 4);
    if (pipe(stopPipe_) != 0)
        abort();
    thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
    Requests();
    close(listener_);
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

std::vector<std::string> LoopbackServer::Requests() {
    if (thread_.joinable()) {
        if (write(stopPipe_[1], "", 1) != 1)
            abort();
        thread_.join();
    }
    return requests_;
}

std::vector<std::string> LoopbackServer::Bodies() {
    std::vector<std::string> bodies;
    for (const std::string& request : Requests()) {
        const std::string body = request.substr(std::min(BodyStart(request), request.size()));
        bodies.push_back(request == UploadRequest(body) ? body : request);
    }
    return bodies;
}

void LoopbackServer::Serve() {
    // A client that connected is queued by the time Requests() asks to stop.
    pollfd waiting[] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    while (poll(waiting, 2, 10000) >= 1 && (waiting[0].revents & POLLIN) != 0) {
        const int connection = accept(listener_, nullptr, nullptr);
        std::string received;
        char chunk[4096];
        while (BodyStart(received) == std::string::npos) {
            const ssize_t got = recv(connection, chunk, sizeof chunk, 0);
            if (got <= 0)
                break;
            received.append(chunk, static_cast<size_t>(got));
        }
        requests_.push_back(received);
        const bool answered =
            answeredRequests_ < 0 || requests_.size() <= size_t(answeredRequests_);
        for (const std::string& piece : answered ? replyPieces_ : std::vector<std::string>{}) {
            send(connection, piece.data(), piece.size(), MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (stall_) {
            pollfd stop{stopPipe_[0], POLLIN, 0};
            poll(&stop, 1, 10000);
        }
        close(connection);
    }
}

unsigned short RefusingPort() {
    unsigned short port = 0;
    close(ListenOnLoopback(&port));
    return port;
}

UnansweringPort::UnansweringPort() {
    listener_ = ListenOnLoopback(&port_);
    listen(listener_, 0);
    filler_ = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = LoopbackAddress(port_);
    if (connect(filler_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        abort();
}

UnansweringPort::~UnansweringPort() {
    close(filler_);
    close(listener_);
}

hiscores::UploadServer LoopbackUploadServer(unsigned short port, int stallMilliseconds) {
    return {.host = "127.0.0.1",
            .port = port,
            .path = hiscores::kUploadPath,
            .userAgent = hiscores::kUserAgent,
            .stallMilliseconds = stallMilliseconds,
            .connectMilliseconds = 5000,
            .requestMilliseconds = 5000};
}

std::string UploadRequest(const std::string& body, bool viaProxy, const std::string& host) {
    return "POST " + (viaProxy ? "http://" + host : "") +
           "/rekordy/dopisz.php HTTP/1.0\r\nHost: " + host +
           "\r\nUser-Agent: SalonTumbraRekordy\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}
