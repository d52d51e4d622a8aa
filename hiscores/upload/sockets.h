#pragma once

// The few socket calls the upload needs, the same on Windows Sockets 1.1 and POSIX.
#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace hiscores {

#ifdef _WIN32
using SocketHandle = SOCKET;
inline constexpr SocketHandle kNoSocket = INVALID_SOCKET;
#else
using SocketHandle = int;
inline constexpr SocketHandle kNoSocket = -1;
#endif

bool StartSockets();
void StopSockets();
// Sends what it can of data; the count sent, or a negative number on failure.
int SendSome(SocketHandle socket, const char* data, int length);
void CloseSocket(SocketHandle socket);

} // namespace hiscores
