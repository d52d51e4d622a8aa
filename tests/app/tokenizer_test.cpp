#include "hiscores/app/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hiscores {
namespace {

struct TokenCase {
    const char* behaviour;
    const char* text;
    std::vector<std::string> arguments;
};

class TokenizerTest : public ::testing::TestWithParam<TokenCase> {};

TEST_P(TokenizerTest, SplitsAfterTheProgramPath) {
    std::string text = GetParam().text;
    const char* tokens[kTokenSlots];
    tokens[0] = "C:\\hiscores.exe";
    const int count = TokenizeArguments(text.data(), tokens);
    ASSERT_EQ(count, static_cast<int>(GetParam().arguments.size()) + 1);
    EXPECT_STREQ(tokens[0], "C:\\hiscores.exe");
    for (size_t i = 0; i < GetParam().arguments.size(); ++i)
        EXPECT_EQ(tokens[i + 1], GetParam().arguments[i]) << "token " << i + 1;
    EXPECT_EQ(tokens[count], nullptr);
    std::string again = GetParam().text;
    EXPECT_EQ(IsSilentRun(again.data(), "p"), count >= 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TokenizerTest,
    ::testing::Values(TokenCase{"Empty", "", {}},
                      TokenCase{"BlanksAndTabsOnly", " \t \r\n\v\f ", {}},
                      TokenCase{"OneWord", "x", {"x"}},
                      TokenCase{"WordsAndWhiteSpace", "  a\tbc \n d  ", {"a", "bc", "d"}},
                      TokenCase{"EmptyQuotes", "\"\"", {""}},
                      TokenCase{"QuotedWithBlanks", "\"a b\" c", {"a b", "c"}},
                      TokenCase{"QuoteEndsTokenWithoutWhiteSpace", "\"a\"b", {"a", "b"}},
                      TokenCase{"UnmatchedQuote", "\"", {"\""}},
                      TokenCase{"UnmatchedQuoteStartsAWord", "\"ab cd", {"\"ab", "cd"}},
                      TokenCase{"QuoteInsideAWordIsPlain", "a\"b", {"a\"b"}}),
    [](const ::testing::TestParamInfo<TokenCase>& info) { return info.param.behaviour; });

TEST(TokenizerLimits, FillsTheTableAndStillClosesIt) {
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "w ";
    const char* tokens[kTokenSlots];
    tokens[0] = "p";
    EXPECT_EQ(TokenizeArguments(text.data(), tokens), kTokenSlots - 1);
    EXPECT_EQ(tokens[kTokenSlots - 1], nullptr);
}

} // namespace
} // namespace hiscores
