// The two floppy commands against a real drive A: under Wine. Each test expects the
// drive as floppy_drive_test.py prepares it for that test, and that script checks the
// disk and the upload server from the Linux side afterwards; run the tests through it.
#include "hiscores/collect/collect.h"
#include "hiscores/floppy/floppy_commands.h"
#include "hiscores/floppy/transfer_file.h"
#include "tests/support/recording_feedback.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace hiscores {
namespace {

constexpr char kGameKey[] = "Software\\Tumbra\\Floppy Racer";
constexpr char kInsertFloppy[] = "Insert floppy disk and click OK.";
constexpr char kSaved[] = "Your hiscores have been successfully written to the floppy disk.";
constexpr char kCannotWrite[] =
    "There is no floppy disk in the drive or it's protected or full\n\nCheck it and try again.";
constexpr char kCannotCopy[] = "Can't copy myself to the floppy disk!";
constexpr char kCannotRead[] = "There is no floppy in the drive or it doesn't contain any "
                               "hiscores!\n\nCheck it and try again.";
constexpr char kTooLong[] = "The file on the floppy disk holds more hiscores than can be sent at "
                            "once!\n\nNothing has been sent.";
constexpr char kSent[] =
    "Hiscores from the floppy disk have been successfully sent to the TumbraGames website.";

// The same records the script expects to find on the disk.
const std::vector<std::string> kRecords = {"alice 100% 5000", "multi\nline", "", "cr\rinside"};

void RemoveGames() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Tumbra");
}

void StoreRecords(const std::vector<std::string>& records) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (size_t i = 0; i < records.size(); ++i) {
        const std::string name = "_rek_" + std::to_string(i + 1);
        const std::string& data = records[i];
        EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>(data.size() + 1)),
                  ERROR_SUCCESS);
    }
    RegCloseKey(key);
}

bool FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const char* path) {
    std::string bytes;
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return bytes;
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, count);
    fclose(file);
    return bytes;
}

std::string ProgramPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

std::string CopyPathOnFloppy() {
    const std::string path = ProgramPath();
    return "A:\\" + path.substr(path.find_last_of('\\') + 1);
}

// Everything the command showed, in order, one "kind:text" entry each.
std::string Shown() {
    static constexpr const char* kKindNames[] = {"info:", "error:", "status:"};
    std::string shown;
    for (int i = 0; i < testing::FeedbackCount(); ++i) {
        const testing::FeedbackEvent& event = testing::FeedbackAt(i);
        if (i > 0)
            shown += "|";
        shown += kKindNames[static_cast<int>(event.kind)];
        shown += event.text;
    }
    return shown;
}

std::string Info(const char* text) {
    return std::string("info:") + text;
}
std::string Error(const char* text) {
    return std::string("error:") + text;
}
std::string Status(const char* suffix) {
    return std::string("status:") + suffix;
}
std::string Sequence(std::initializer_list<std::string> entries) {
    std::string joined;
    for (const std::string& entry : entries)
        joined += (joined.empty() ? "" : "|") + entry;
    return joined;
}

class FloppyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ClearFeedback();
        RemoveGames();
    }
    void TearDown() override { RemoveGames(); }
};

using SaveToFloppy = FloppyTest;
using SendFromFloppy = FloppyTest;

TEST_F(SaveToFloppy, WritesRecordsThatReadBackExactlyAndCopiesTheProgram) {
    StoreRecords(kRecords);
    SaveHiscoresToFloppy();
    EXPECT_EQ(Shown(), Sequence({Info(kInsertFloppy), Status(" - saving hiscores"),
                                 Status(" - saving myself"), Status(""), Info(kSaved)}));

    char collected[kHiscoreTextSize];
    ASSERT_EQ(CollectHiscores(collected), static_cast<int>(kRecords.size()));
    FILE* file = fopen(kTransferFilePath, "rb");
    ASSERT_NE(file, nullptr);
    char readBack[kHiscoreTextSize];
    EXPECT_EQ(ReadTransferText(file, readBack), TransferReadResult::kRead);
    fclose(file);
    EXPECT_STREQ(readBack, collected);

    EXPECT_EQ(ReadBytes(CopyPathOnFloppy().c_str()), ReadBytes(ProgramPath().c_str()));
}

TEST_F(SaveToFloppy, WithoutRecordsComplainsBeforeThePromptAndTouchesNoDisk) {
    SaveHiscoresToFloppy();
    EXPECT_EQ(Shown(), Error("Couldn't find your hiscores!\n"));
    EXPECT_FALSE(FileExists(kTransferFilePath));
}

TEST_F(SaveToFloppy, FromTheFloppyMakesNoCopy) {
    ASSERT_EQ(ProgramPath().rfind("A:\\", 0), 0u) << "run from A: for this test";
    StoreRecords(kRecords);
    SaveHiscoresToFloppy();
    EXPECT_EQ(Shown(), Sequence({Info(kInsertFloppy), Status(" - saving hiscores"), Status(""),
                                 Info(kSaved)}));
}

TEST_F(SaveToFloppy, RefusedCopyKeepsTheFileAndSaysSo) {
    // A folder of the program's name stands in the copy's way.
    ASSERT_TRUE(CreateDirectoryA(CopyPathOnFloppy().c_str(), nullptr));
    StoreRecords(kRecords);
    SaveHiscoresToFloppy();
    EXPECT_EQ(Shown(), Sequence({Info(kInsertFloppy), Status(" - saving hiscores"),
                                 Status(" - saving myself"), Status(""), Error(kCannotCopy)}));
    EXPECT_TRUE(FileExists(kTransferFilePath));
}

TEST_F(SaveToFloppy, ProtectedDiskGivesTheWriteError) {
    StoreRecords(kRecords);
    SaveHiscoresToFloppy();
    EXPECT_EQ(Shown(), Sequence({Info(kInsertFloppy), Error(kCannotWrite)}));
    EXPECT_FALSE(FileExists(kTransferFilePath));
}

void ExpectWriteErrorAndNoFile() {
    EXPECT_EQ(Shown(), Sequence({Info(kInsertFloppy), Status(" - saving hiscores"), Status(""),
                                 Error(kCannotWrite)}));
    EXPECT_FALSE(FileExists(kTransferFilePath));
    EXPECT_FALSE(FileExists(CopyPathOnFloppy().c_str()));
}

TEST_F(SaveToFloppy, DiskFillingUpGivesTheWriteErrorAndLeavesNoFile) {
    // About 9 KB of text: more than the disk the script provides can take, so writing
    // fails part of the way.
    StoreRecords(std::vector<std::string>(9, std::string(1000, 'x')));
    SaveHiscoresToFloppy();
    ExpectWriteErrorAndNoFile();
}

TEST_F(SaveToFloppy, FullDiskFoundAtCloseGivesTheWriteErrorAndLeavesNoFile) {
    // A short text stays in the stream's buffer; the full disk shows only at closing.
    StoreRecords(kRecords);
    SaveHiscoresToFloppy();
    ExpectWriteErrorAndNoFile();
}

TEST_F(SendFromFloppy, UploadsTheFileAndReportsSuccess) {
    SendHiscoresFromFloppy();
    EXPECT_EQ(Shown(), Sequence({Status(" - reading hiscores"), Status(" - connecting..."),
                                 Status(" - sending data..."), Status(""), Info(kSent)}));
}

TEST_F(SendFromFloppy, MissingFileGivesTheReadError) {
    SendHiscoresFromFloppy();
    EXPECT_EQ(Shown(), Error(kCannotRead));
}

TEST_F(SendFromFloppy, TooLongFileIsRefusedWhole) {
    SendHiscoresFromFloppy();
    EXPECT_EQ(Shown(), Sequence({Status(" - reading hiscores"), Status(""), Error(kTooLong)}));
}

} // namespace
} // namespace hiscores
