#include "hiscores/upload/sockets.h"

namespace hiscores {

bool StartSockets() {
    return true;
}

void StopSockets() {}

int SendSome(SocketHandle socket, const char* data, int length) {
    // A peer that has gone must give an error here, not kill the process.
    return static_cast<int>(send(socket, data, static_cast<size_t>(length), MSG_NOSIGNAL));
}

void ShutdownSocket(SocketHandle socket) {
    shutdown(socket, SHUT_RDWR);
}

void CloseSocket(SocketHandle socket) {
    close(socket);
}

} // namespace hiscores
