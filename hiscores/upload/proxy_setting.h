#pragma once

namespace hiscores {

inline constexpr int kProxyHostSize = 1000;

// Finds host and port in an Internet settings proxy text: "host:port",
// "scheme://host:port", a host alone (port 80), or a per-protocol list such as
// "http=host:port;https=host:port", whose http entry counts (a list without one names no
// proxy). The host is cut to hostSize - 1 characters. False when no host is named or
// the port is not one from 1 to 65535.
bool ParseProxyServer(const char* setting, char* host, int hostSize, int* port);

// Whether the settings name a proxy to use: enabled with 1, and with a host and port,
// which it writes.
bool UseProxy(const char* server, unsigned long enableValue, char* host, int hostSize, int* port);

} // namespace hiscores
