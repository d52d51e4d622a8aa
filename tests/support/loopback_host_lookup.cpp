#include "tests/support/loopback_host_lookup.h"

#include "hiscores/upload/host_lookup.h"

#include <arpa/inet.h>

#include <chrono>
#include <thread>

namespace {

int lookupMilliseconds = 0;
int lookups = 0;

} // namespace

void stand_in::SetHostLookupMilliseconds(int milliseconds) {
    lookupMilliseconds = milliseconds;
    lookups = 0;
}

int stand_in::HostLookups() {
    return lookups;
}

bool hiscores::LookUpHost(const char*, unsigned int* address) {
    ++lookups;
    std::this_thread::sleep_for(std::chrono::milliseconds(lookupMilliseconds));
    *address = htonl(INADDR_LOOPBACK);
    return true;
}
