#include "hiscores/upload/sockets.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>

namespace hiscores {

bool StartSockets() {
    return true;
}

void StopSockets() {}

int SendSome(SocketHandle socket, const char* data, int length) {
    // A peer that has gone must give an error here, not kill the process.
    return static_cast<int>(send(socket, data, static_cast<size_t>(length), MSG_NOSIGNAL));
}

bool SetBlocking(SocketHandle socket, bool blocking) {
    const int flags = fcntl(socket, F_GETFL);
    return flags >= 0 &&
           fcntl(socket, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) == 0;
}

bool ConnectInProgress() {
    return errno == EINPROGRESS;
}

int ConnectError(SocketHandle socket) {
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0 ? error : -1;
}

unsigned int NowMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<unsigned int>(now.tv_sec) * 1000u +
           static_cast<unsigned int>(now.tv_nsec / 1000000);
}

void ShutdownSocket(SocketHandle socket) {
    shutdown(socket, SHUT_RDWR);
}

void CloseSocket(SocketHandle socket) {
    close(socket);
}

} // namespace hiscores
