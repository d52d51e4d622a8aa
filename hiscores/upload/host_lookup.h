#pragma once

// The system's name lookup; the native tests link a stand-in whose time they set.
namespace hiscores {

// The first IPv4 address of a host name, in network byte order; false when the name does
// not resolve.
bool LookUpHost(const char* name, unsigned int* address);

} // namespace hiscores
