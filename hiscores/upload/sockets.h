#pragma once

// The socket calls that differ between Windows Sockets 1.1 and POSIX. The upload makes
// the others (socket, bind, connect, recv, name lookup) directly: they are the same on both.
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
// Ends both directions of a connected socket.
void ShutdownSocket(SocketHandle socket);
void CloseSocket(SocketHandle socket);

} // namespace hiscores
