#pragma once

// A stand-in for the system's name lookup: every name is the loopback address, found
// after the time a test sets.
namespace stand_in {

void SetHostLookupMilliseconds(int milliseconds);

} // namespace stand_in
