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

bool SetBlocking(SocketHandle socket, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    return ioctlsocket(socket, FIONBIO, &nonBlocking) == 0;
}

bool ConnectInProgress() {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

int ConnectError(SocketHandle socket) {
    int error = 0;
    int length = sizeof error;
    return getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) == 0
               ? error
               : -1;
}

unsigned int NowMilliseconds() {
    return GetTickCount();
}

void ShutdownSocket(SocketHandle socket) {
    shutdown(socket, SD_BOTH);
}

void CloseSocket(SocketHandle socket) {
    closesocket(socket);
}

} // namespace hiscores
