#pragma once

// A stand-in for the system's name lookup: every name is the loopback address, found
// after the time a test sets.
namespace stand_in {

// Also starts the count of lookups anew.
void SetHostLookupMilliseconds(int milliseconds);
int HostLookups();

} // namespace stand_in
