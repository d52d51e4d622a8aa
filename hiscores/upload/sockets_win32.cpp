#include "hiscores/upload/sockets.h"

namespace hiscores {

bool StartSockets() {
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

void StopSockets() {
    WSACleanup();
}

int SendSome(SocketHandle socket, const char* data, int length) {
    return send(socket, data, length, 0);
}

void ShutdownSocket(SocketHandle socket) {
    shutdown(socket, SD_BOTH);
}

void CloseSocket(SocketHandle socket) {
    closesocket(socket);
}

} // namespace hiscores
