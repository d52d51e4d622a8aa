#include <windows.h>

#include "nsistumbra/dx_version.h"
#include "nsistumbra/dxdiag_query.h"

#include <gtest/gtest.h>

// Wine's DirectX diagnostic provider answers 9.0c.
namespace nsistumbra {
namespace {

TEST(DirectXProviderOn, ProviderReportsNineZeroC) {
    std::uint32_t major = 0;
    std::uint32_t minor = 77;
    char letter = '?';
    EXPECT_EQ(S_OK, QueryVersionFromDxDiag(&major, &minor, &letter));
    EXPECT_EQ(9u, major);
    EXPECT_EQ(0u, minor);
    EXPECT_EQ('c', letter);
}

TEST(DirectXProviderOn, QueryPacksAndFormatsProviderAnswer) {
    PackedDxVersion packed = 0;
    char text[100] = "stale";
    EXPECT_EQ(S_OK, QueryDirectXVersion(&packed, text, 99));
    EXPECT_EQ(0x00090003u, packed);
    EXPECT_STREQ("9.0c", text);
}

TEST(DirectXProviderOn, LeavesComAsItFoundIt) {
    ASSERT_EQ(S_OK, CoInitialize(nullptr));
    std::uint32_t major = 0;
    EXPECT_EQ(S_OK, QueryVersionFromDxDiag(&major, nullptr, nullptr));
    // Still joined: the query's own join was matched by its own leave.
    EXPECT_EQ(S_FALSE, CoInitialize(nullptr));
    CoUninitialize();
    CoUninitialize();
}

} // namespace
} // namespace nsistumbra
