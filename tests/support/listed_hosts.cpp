#include "tests/support/listed_hosts.h"

#include "hiscores/upload/host_lookup.h"

#include <arpa/inet.h>

#include <chrono>
#include <map>
#include <thread>

namespace {

struct Host {
    unsigned int address;
    int milliseconds;
};
std::map<std::string, Host> hosts;

} // namespace

namespace stand_in {

void ListHost(const std::string& name, const std::string& dottedAddress, int milliseconds) {
    hosts[name] = {inet_addr(dottedAddress.c_str()), milliseconds};
}

} // namespace stand_in

namespace hiscores {

bool LookUpHost(const char* name, unsigned int* address) {
    const auto host = hosts.find(name);
    if (host == hosts.end())
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(host->second.milliseconds));
    *address = host->second.address;
    return true;
}

} // namespace hiscores
