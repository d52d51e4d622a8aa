#pragma once

#include <string>

// A stand-in for the system's name lookup: the names a test lists resolve, each after the
// time it gives; any other name does not.
namespace stand_in {

void ListHost(const std::string& name, const std::string& dottedAddress, int milliseconds = 0);

} // namespace stand_in
