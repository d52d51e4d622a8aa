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

TEST_F(Collect, StopsAtTheFirstRecordThatWouldNotFitAndCountsHonestly) {
    // Two records of 4000 bytes fit (8002 bytes with their line feeds); the third would
    // not, and neither may anything after it.
    const std::string big(4000, 'x');
    for (int n = 1; n <= 3; ++n)
        SetValue(kRoot + "\\Alpha", "_rek_" + std::to_string(n), kString, big + '\0');
    SetValue(kRoot + "\\Beta", "_rek_1", kString, Z("small"));
    char text[kHiscoreTextSize];
    EXPECT_EQ(CollectHiscores(text), 2);
    EXPECT_EQ(std::string(text), big + "\n" + big + "\n");
}

TEST_F(Collect, TextMayFillTheBufferToItsLastByte) {
    const std::string record(kHiscoreTextSize - 2, 'y');
    SetValue(kRoot + "\\Alpha", "_rek_1", kString, record + '\0');
    char text[kHiscoreTextSize];
    EXPECT_EQ(CollectHiscores(text), 1);
    EXPECT_EQ(std::string(text).size(), static_cast<size_t>(kHiscoreTextSize - 1));
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
