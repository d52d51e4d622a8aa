#include "hiscores/app/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hiscores {
namespace {

TEST(Tokenizer, SplitsAfterTheProgramPathAndDecidesSilence) {
    struct Case {
        const char* text;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"", {}},
        {" \t \r\n\v\f ", {}},
        {"x", {"x"}},
        {"  a\tbc \n d  ", {"a", "bc", "d"}},
        {"\"\"", {""}},
        {"\"a b\" c", {"a b", "c"}},
        {"\"a\"b", {"a", "b"}}, // a closing quote ends the token by itself
        {"\"", {"\""}},         // an unmatched quote is a plain character
        {"\"ab cd", {"\"ab", "cd"}},
        {"a\"b", {"a\"b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        const char* tokens[kTokenSlots];
        tokens[0] = "C:\\hiscores.exe";
        const int count = TokenizeArguments(text.data(), tokens);
        ASSERT_EQ(count, static_cast<int>(c.arguments.size()) + 1);
        EXPECT_STREQ(tokens[0], "C:\\hiscores.exe");
        for (size_t i = 0; i < c.arguments.size(); ++i)
            EXPECT_EQ(tokens[i + 1], c.arguments[i]) << "token " << i + 1;
        EXPECT_EQ(tokens[count], nullptr);
        std::string again = c.text;
        EXPECT_EQ(IsSilentRun(again.data(), "p"), count >= 2);
    }
}

TEST(Tokenizer, FillsTheTableAndStillClosesIt) {
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
