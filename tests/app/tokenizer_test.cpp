#include "hiscores/app/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hiscores {
namespace {

TEST(Tokenizer, SplitsAfterTheProgramPathAndDecidesSilence) {
    std::string manyWords;
    for (int i = 0; i < 500; ++i)
        manyWords += "w ";
    struct Case {
        std::string text;
        std::vector<std::string> arguments;
        bool silent;
    };
    const Case cases[] = {
        {"", {}, false},
        {" \t \r\n\v\f ", {}, false},
        {"x", {"x"}, true},
        {"  a\tbc \n d  ", {"a", "bc", "d"}, true},
        {"\"\"", {""}, true},
        {"\"a b\" c", {"a b", "c"}, true},
        {"\"a\"b", {"a", "b"}, true}, // a closing quote ends the token by itself
        {"\"", {"\""}, true},         // an unmatched quote is a plain character
        {"\"ab cd", {"\"ab", "cd"}, true},
        {"a\"b", {"a\"b"}, true},
        // The table fills up and is still closed.
        {manyWords, std::vector<std::string>(kTokenSlots - 2, "w"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        const char* tokens[kTokenSlots];
        tokens[0] = "C:\\hiscores.exe";
        const size_t count = c.arguments.size() + 1;
        ASSERT_EQ(TokenizeArguments(text.data(), tokens), static_cast<int>(count));
        EXPECT_STREQ(tokens[0], "C:\\hiscores.exe");
        EXPECT_EQ(std::vector<std::string>(tokens + 1, tokens + count), c.arguments);
        EXPECT_EQ(tokens[count], nullptr);
        EXPECT_EQ(IsSilentRun(std::string(c.text).data(), "p"), c.silent);
    }
}

} // namespace
} // namespace hiscores
