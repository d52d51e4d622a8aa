#pragma once

// The socket calls that differ between Windows Sockets 1.1 and POSIX, and the clock. The
// upload makes the others (socket, bind, connect, recv, select) directly: they are the
// same on both. Name lookups go through host_lookup.h.
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
// Makes the socket's calls wait, or return at once.
bool SetBlocking(SocketHandle socket, bool blocking);
// Whether the connect just made on a non-blocking socket goes on in the background.
bool ConnectInProgress();
// The error a finished connection attempt left on the socket: 0 when it connected.
int ConnectError(SocketHandle socket);
// Milliseconds from an arbitrary start that never goes back; it wraps, so only
// differences count.
unsigned int NowMilliseconds();
// Ends both directions of a connected socket.
void ShutdownSocket(SocketHandle socket);
void CloseSocket(SocketHandle socket);

} // namespace hiscores
