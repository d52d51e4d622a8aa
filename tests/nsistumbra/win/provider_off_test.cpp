#include <windows.h>

#include "nsistumbra/dx_version.h"
#include "nsistumbra/dxdiag_query.h"

#include <gtest/gtest.h>

// Run with the DirectX diagnostic provider disabled (WINEDLLOVERRIDES=dxdiagn=d):
// the file table must answer, from Wine's system files.
namespace nsistumbra {
namespace {

TEST(DirectXProviderOff, ProviderFailsAndFileTableGivesNineZero) {
    std::uint32_t major = 77;
    EXPECT_EQ(E_FAIL, QueryVersionFromDxDiag(&major, nullptr, nullptr));
    PackedDxVersion packed = 0;
    char text[100] = "stale";
    EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, text, 99));
    EXPECT_EQ(0x00090000u, packed);
    EXPECT_STREQ("9.0", text);
}

} // namespace
} // namespace nsistumbra
