#include "hiscores/upload/host_lookup.h"

#include <winsock2.h>

#include <cstring>

namespace hiscores {

bool LookUpHost(const char* name, unsigned int* address) {
    const hostent* entry = gethostbyname(name);
    if (entry == nullptr || entry->h_addr_list[0] == nullptr)
        return false;
    memcpy(address, entry->h_addr_list[0], sizeof *address);
    return true;
}

} // namespace hiscores
