#include <windows.h>

#include "nsistumbra/dxdiag_query.h"

#include "tests/nsistumbra/dx_answers.h"

#include <gtest/gtest.h>

// Wine's DirectX diagnostic provider answers 9.0c.
namespace nsistumbra {
namespace {

TEST(DirectXProviderOn, ProviderReportsNineZeroC) {
    const auto query = [](auto... outputs) {
        EXPECT_EQ(QueryVersionFromDxDiag(outputs...), Status::kOk);
    };
    EXPECT_EQ(QueryParts(query), (DxVersionParts{9, 0, 'c'}));
    EXPECT_EQ(AskDirectXVersion(), (DxAnswer{0x00090003, "9.0c"}));
}

TEST(DirectXProviderOn, LeavesComAsItFoundIt) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    std::uint32_t major = 0;
    EXPECT_EQ(QueryVersionFromDxDiag(&major, nullptr, nullptr), Status::kOk);
    // The caller's join is still there...
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    // ...and no join of the query's own is left over.
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

} // namespace
} // namespace nsistumbra
