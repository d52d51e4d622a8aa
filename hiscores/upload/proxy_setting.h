#pragma once

namespace hiscores {

inline constexpr int kProxyHostSize = 1000;

// Splits an Internet settings proxy text ("host:port", "scheme://host:port") at its
// last colon. A text without a colon names no port and gives false.
bool ParseProxyServer(const char* setting, char* host, int hostSize, int* port);

// Whether the settings name a proxy to use: enabled with 1, and with a host and port,
// which it writes.
bool UseProxy(const char* server, unsigned long enableValue, char* host, int hostSize, int* port);

} // namespace hiscores
