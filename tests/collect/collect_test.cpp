#include "hiscores/collect/collect.h"
#include "tests/support/registry_content.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hiscores {
namespace {

using namespace std::string_literals;

constexpr unsigned long kString = 1;

// Collects the records of games "A", "B", ..., their keys readable only when asked;
// checks the text and the counts, that the product key exists afterwards, and, where the
// stand-in counts them, that no key was left open.
void ExpectCollected(const std::vector<std::vector<std::string>>& games, const std::string& text,
                     int count, int leftOut, [[maybe_unused]] bool onlyReadable = false) {
    for (size_t game = 0; game < games.size(); ++game)
        stand_in::SetRecords(std::string(1, 'A' + game), games[game]);
#ifdef _WIN32
    if (onlyReadable)
        stand_in::LetOnlyRead();
#endif
    char collected[kHiscoreTextSize];
    int collectedLeftOut = -1;
    EXPECT_EQ(CollectHiscores(collected, &collectedLeftOut), count);
    EXPECT_EQ(std::string(collected), text);
    EXPECT_EQ(collectedLeftOut, leftOut);
    EXPECT_TRUE(stand_in::ProductKeyExists());
#ifndef _WIN32
    EXPECT_EQ(stand_in::OpenKeyCount(), 0);
#endif
}

TEST(Collect, JoinsWholeRecordsInOrderAsFarAsTheyFit) {
    const std::string a5000(5000, 'a'), a9998(9998, 'a'), a9999(9999, 'a');
    const std::string b4997(4997, 'b'), b4998(4998, 'b');
    struct Case {
        const char* behaviour;
        std::vector<std::vector<std::string>> games;
        std::string text;
        int count;
        int leftOut;
        bool onlyReadable = false; // the keys, as a limited account finds them
    };
    const Case cases[] = {
        {"nothing stored: the product key is created", {}, "", 0, 0},
#ifdef _WIN32
        {"keys readable only", {{"A1", "A2"}, {"B1"}}, "A1\nA2\nB1\n", 3, 0, true},
#endif
        {"two games in enumeration order", {{"A1", "A2"}, {"B1", "B2"}}, "A1\nA2\nB1\nB2\n", 4, 0},
        {"an empty record counts", {{""}}, "\n", 1, 0},
        {"a line feed inside a record stays raw", {{"x\ny%"}}, "x\ny%\n", 1, 0},
        {"the text filled to its last byte", {{a9998}, {"B"}}, a9998 + "\n", 1, 1},
        // Records and line feeds exactly the text's capacity.
        {"the text filled by two", {{a5000, b4997}, {"B"}}, a5000 + "\n" + b4997 + "\n", 2, 1},
        {"one byte more: the next text", {{a5000, b4998}, {"B"}}, a5000 + "\n", 1, 2},
        {"too long even alone: passed over", {{a9999, "bbb"}, {"B"}}, "bbb\nB\n", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        stand_in::ResetRegistry();
        ExpectCollected(c.games, c.text, c.count, c.leftOut, c.onlyReadable);
    }
}

TEST(Collect, ReadsOnlyStringValuesAndEndsAGameAtTheFirstMissingOne) {
    const std::string a240(240, 'A'), a255(255, 'A'); // game key names before "B"
    struct Value {
        int number;
        unsigned long type; // as the registry numbers them, named in the behaviour
        std::string data;   // terminator included only when the game wrote one
    };
    struct Case {
        const char* behaviour;
        std::vector<Value> values; // of the game below; game "B" holds one record, "B1"
        std::string text;
        int count;
        int leftOut = 0;
        std::string game = "A";
    };
    const Case cases[] = {
        {"a gap ends the game", {{1, kString, "one\0"s}, {3, kString, "three\0"s}}, "one\nB1\n", 2},
        {"none is no record", {{1, 0, "x\0"s}}, "B1\n", 1},
        {"an expandable string is no record", {{1, 2, "x\0"s}}, "B1\n", 1},
        {"a number is no record", {{1, 4, "\1\0\0\0"s}}, "B1\n", 1},
        {"binary is no record", {{1, 3, "x\0"s}}, "B1\n", 1},
        {"a big-endian number is no record", {{1, 5, "\0\0\0\1"s}}, "B1\n", 1},
        {"a link is no record", {{1, 6, "x\0"s}}, "B1\n", 1},
        {"a multi-string is no record", {{1, 7, "x\0\0"s}}, "B1\n", 1},
        {"a resource list is no record", {{1, 8, "x"}}, "B1\n", 1},
        {"a 64-bit number is no record", {{1, 11, "\1\0\0\0\0\0\0\0"s}}, "B1\n", 1},
        {"a wrong type ends only its game",
         {{1, kString, "A1\0"s}, {2, 4, "\1\0\0\0"s}, {3, kString, "A3\0"s}},
         "A1\nB1\n",
         2},
        {"stored without terminator: ended at its size",
         {{1, kString, "abc"}, {2, kString, "d\0"s}},
         "abc\nd\nB1\n",
         3},
        {"filling the buffer without terminator: passed over and left out",
         {{1, kString, std::string(kRecordSize, 'r')}, {2, kString, "A2\0"s}},
         "A2\nB1\n",
         2,
         1},
        {"too large for the buffer: passed over and left out, the game goes on",
         {{1, kString, "A1\0"s},
          {2, kString, std::string(kRecordSize + 5, 'r')},
          {3, kString, "A3"}},
         "A1\nA3\nB1\n",
         3,
         1},
#ifdef _WIN32
        // Wine's ANSI calls refuse a key path beyond 260 characters, which Windows opens.
        {"a key name of 255 characters: not opened", {{1, kString, "x\0"s}}, "B1\n", 1, 0, a255},
#else
        {"a key name of 255 characters", {{1, kString, "x\0"s}}, "x\nB1\n", 2, 0, a255},
#endif
        {"a key name of 240 characters", {{1, kString, "x\0"s}}, "x\nB1\n", 2, 0, a240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        stand_in::ResetRegistry();
        for (const Value& v : c.values)
            stand_in::SetValue(c.game, "_rek_" + std::to_string(v.number), v.type, v.data);
        ExpectCollected({{}, {"B1"}}, c.text, c.count, c.leftOut);
    }
}

// The stand-in alone makes enumeration fail.
#ifndef _WIN32
TEST(Collect, ListsTheGameKeysUntilEnumerationFailsForGood) {
    struct Case {
        const char* behaviour;
        long failingIndex;             // -1: every index
        long status;                   // 0: enumeration does not fail
        std::vector<std::string> keys; // game keys, each holding a record
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"a second listing replaces the first", 0, 0, {"Alpha"}, {"Alpha"}},
        {"the key deleted", -1, 1018, {"Alpha"}, {}},
        {"the handle gone bad keeps the names listed so far", 1, 6, {"Alpha", "Beta"}, {"Alpha"}},
        {"a name too long is skipped", 1, 234, {"Alpha", "Beta", "Gamma"}, {"Alpha", "Gamma"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        stand_in::ResetRegistry();
        for (const std::string& key : c.keys)
            stand_in::SetRecords(key, {"r"});
        if (c.status != 0)
            stand_in::FailEnumeration(c.failingIndex, c.status);
        GameKeyList list;
        ListGameKeys(list);
        ListGameKeys(list);
        EXPECT_EQ(std::vector<std::string>(list.names, list.names + list.count), c.names);
        EXPECT_EQ(stand_in::OpenKeyCount(), 0);
        FreeGameKeyList(list);
    }
}
#endif

} // namespace
} // namespace hiscores
