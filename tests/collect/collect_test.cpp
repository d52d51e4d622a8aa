#include "hiscores/collect/collect.h"
#include "tests/support/memory_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hiscores {
namespace {

using stand_in::AddKey;
using stand_in::SetValue;

constexpr unsigned long kString = 1;
constexpr unsigned long kExpandString = 2;
constexpr unsigned long kDword = 4;
const std::string kRoot = "Software\\Tumbra";

struct Record {
    std::string game;
    std::string name;
    unsigned long type;
    std::string data; // as stored, terminator included when the game wrote one
};

std::string Z(const char* text) {
    return std::string(text) + '\0';
}

class Collect : public ::testing::Test {
  protected:
    void SetUp() override { stand_in::ResetMemoryRegistry(); }
};

TEST_F(Collect, JoinsReadableRecordsInOrder) {
    struct Case {
        const char* behaviour;
        std::vector<Record> records;
        std::string text;
        int count;
    };
    const std::string dword("\1\0\0\0", 4);
    const Case cases[] = {
        {"nothing stored", {}, "", 0},
        {"two games in enumeration order",
         {{"Alpha", "_rek_1", kString, Z("A1")},
          {"Alpha", "_rek_2", kString, Z("A2")},
          {"Beta", "_rek_1", kString, Z("B1")},
          {"Beta", "_rek_2", kString, Z("B2")}},
         "A1\nA2\nB1\nB2\n",
         4},
        {"a gap ends the game",
         {{"Alpha", "_rek_1", kString, Z("one")}, {"Alpha", "_rek_3", kString, Z("three")}},
         "one\n",
         1},
        {"an empty record counts", {{"Alpha", "_rek_1", kString, Z("")}}, "\n", 1},
        {"an expandable string is no record", {{"Alpha", "_rek_1", kExpandString, Z("x")}}, "", 0},
        {"a number is no record",
         {{"Alpha", "_rek_1", kDword, dword}, {"Beta", "_rek_1", kString, Z("B1")}},
         "B1\n",
         1},
        {"a wrong type ends only its game",
         {{"Alpha", "_rek_1", kString, Z("A1")},
          {"Alpha", "_rek_2", kDword, dword},
          {"Alpha", "_rek_3", kString, Z("A3")},
          {"Beta", "_rek_1", kString, Z("B1")}},
         "A1\nB1\n",
         2},
        {"stored without terminator is ended at its size",
         {{"Alpha", "_rek_1", kString, "abc"}, {"Alpha", "_rek_2", kString, Z("d")}},
         "abc\nd\n",
         2},
        {"a line feed inside a record stays raw",
         {{"Alpha", "_rek_1", kString, Z("x\ny%")}},
         "x\ny%\n",
         1},
        {"a record filling the whole buffer without terminator is refused",
         {{"Alpha", "_rek_1", kString, std::string(kRecordSize, 'r')}},
         "",
         0},
        {"a record too large for the buffer ends the game",
         {{"Alpha", "_rek_1", kString, Z("A1")},
          {"Alpha", "_rek_2", kString, std::string(kRecordSize + 5, 'r')},
          {"Beta", "_rek_1", kString, Z("B1")}},
         "A1\nB1\n",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.behaviour);
        stand_in::ResetMemoryRegistry();
        for (const Record& record : c.records)
            SetValue(kRoot + "\\" + record.game, record.name, record.type, record.data);
        char text[kHiscoreTextSize];
        EXPECT_EQ(CollectHiscores(text), c.count);
        EXPECT_EQ(std::string(text), c.text);
        EXPECT_EQ(stand_in::OpenKeyCount(), 0);
    }
}

TEST_F(Collect, TakesWholeRecordsUpToTheLastByteAndCountsWhatIsLeftOut) {
    struct Case {
        std::vector<size_t> lengths; // of Alpha's records; Beta holds one short record
        int count;
        int leftOut;
    };
    const Case cases[] = {
        {{9998}, 1, 1},       // the text filled to its last byte
        {{5000, 4997}, 2, 1}, // records and line feeds total exactly the text's capacity
        {{5000, 4998}, 1, 2}, // one byte more: the second waits for the next text
        {{9999, 3}, 2, 1},    // a record that cannot fit even alone is passed over
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lengths[0]);
        stand_in::ResetMemoryRegistry();
        std::vector<std::string> records;
        for (size_t n = 0; n < c.lengths.size(); ++n) {
            records.push_back(std::string(c.lengths[n], static_cast<char>('a' + n)));
            SetValue(kRoot + "\\Alpha", "_rek_" + std::to_string(n + 1), kString,
                     records.back() + '\0');
        }
        records.push_back("B");
        SetValue(kRoot + "\\Beta", "_rek_1", kString, Z("B"));
        std::string expected;
        for (const std::string& record : records) {
            if (record.size() >= 9999)
                continue;
            if (expected.size() + record.size() + 1 >= kHiscoreTextSize)
                break;
            expected += record + "\n";
        }
        char text[kHiscoreTextSize];
        int leftOut = -1;
        EXPECT_EQ(CollectHiscores(text, &leftOut), c.count);
        EXPECT_EQ(leftOut, c.leftOut);
        EXPECT_TRUE(std::string(text) == expected);
    }
}

TEST_F(Collect, CreatesTheProductKeyWhenMissing) {
    char text[kHiscoreTextSize];
    EXPECT_EQ(CollectHiscores(text), 0);
    EXPECT_TRUE(stand_in::KeyExists(kRoot));
}

TEST_F(Collect, EnumerationFailingForEveryIndexEnds) {
    SetValue(kRoot + "\\Alpha", "_rek_1", kString, Z("A1"));
    stand_in::FailEnumeration(-1, 1018); // the key was deleted
    char text[kHiscoreTextSize];
    EXPECT_EQ(CollectHiscores(text), 0);
    EXPECT_EQ(stand_in::OpenKeyCount(), 0);
}

TEST_F(Collect, EnumerationStopsAtAPersistentErrorKeepingNamesListedSoFar) {
    AddKey(kRoot + "\\Alpha");
    AddKey(kRoot + "\\Beta");
    stand_in::FailEnumeration(1, 6); // the handle went bad
    GameKeyList list;
    ListGameKeys(list);
    ASSERT_EQ(list.count, 1);
    EXPECT_STREQ(list.names[0], "Alpha");
    FreeGameKeyList(list);
}

TEST_F(Collect, NameTooLongForTheBufferIsSkippedAndTheOthersListed) {
    AddKey(kRoot + "\\Alpha");
    AddKey(kRoot + "\\Beta");
    AddKey(kRoot + "\\Gamma");
    stand_in::FailEnumeration(1, 234);
    GameKeyList list;
    ListGameKeys(list);
    ASSERT_EQ(list.count, 2);
    EXPECT_STREQ(list.names[0], "Alpha");
    EXPECT_STREQ(list.names[1], "Gamma");
    FreeGameKeyList(list);
}

TEST_F(Collect, ListingReplacesEarlierContents) {
    AddKey(kRoot + "\\Alpha");
    GameKeyList list;
    ListGameKeys(list);
    ListGameKeys(list);
    EXPECT_EQ(list.count, 1);
    FreeGameKeyList(list);
}

} // namespace
} // namespace hiscores
