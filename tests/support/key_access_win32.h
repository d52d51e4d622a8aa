#pragma once

#include <windows.h>
#include <sddl.h>

// Access rights of registry keys as the accounts of a player's system find them.
namespace stand_in {

// Everyone may read the key, no one change it: the machine's keys as a limited account
// finds them.
inline constexpr char kReadOnly[] = "D:P(A;;KR;;;WD)";

// Gives the key the rights of an SDDL text; the handle needs WRITE_DAC.
inline bool SetKeyAccess(HKEY key, const char* rights) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(rights, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
        return false;
    const LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    return status == ERROR_SUCCESS;
}

} // namespace stand_in
