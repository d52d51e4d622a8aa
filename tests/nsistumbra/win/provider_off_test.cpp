#include <windows.h>

#include "nsistumbra/dxdiag_query.h"

#include "tests/nsistumbra/dx_answers.h"

#include <gtest/gtest.h>

// Run with the DirectX diagnostic provider disabled (WINEDLLOVERRIDES=dxdiagn=d):
// the file table must answer, from Wine's system files.
namespace nsistumbra {
namespace {

TEST(DirectXProviderOff, ProviderFailsAndFileTableGivesNineZero) {
    std::uint32_t major = 77;
    EXPECT_EQ(QueryVersionFromDxDiag(&major, nullptr, nullptr), Status::kFail);
    EXPECT_EQ(AskDirectXVersion(), (DxAnswer{0x00090000, "9.0"}));
}

} // namespace
} // namespace nsistumbra
