#pragma once

// The current user's Internet settings as Windows stores them; the tests link a stand-in
// that returns what they set.
namespace hiscores {

inline constexpr int kProxyServerSize = 1000;

// The "ProxyServer" text, always terminated, and the "ProxyEnable" number, read with the
// right to read alone; false when either cannot be read.
bool ReadInternetSettings(char (&server)[kProxyServerSize], unsigned long* enable);

} // namespace hiscores
