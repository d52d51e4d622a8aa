// The floppy commands over a folder of this machine: a plain temporary folder, one
// mounted read-only, and a tiny file system that fills up. The mounts are made in a
// mount namespace of the test's own.
#include "hiscores/common/messages.h"
#include "hiscores/common/sizes.h"
#include "hiscores/floppy/floppy_commands.h"
#include "tests/support/fixed_internet_settings.h"
#include "tests/support/fixed_program_file.h"
#include "tests/support/loopback_server.h"
#include "tests/support/memory_registry.h"
#include "tests/support/recording_feedback.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace hiscores {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::vector<std::string> kRecords = {"alice 100% 5000", "multi\nline", "", "cr\rinside"};
const std::string kSavedText = "alice 100% 5000\nmulti\nline\n\ncr\rinside\n";
const std::string kSavedBytes = "alice 100% 5000\r\nmulti\r\nline\r\n\r\ncr\rinside\r\n";
const std::string kOk = "HTTP/1.0 200 OK\r\n\r\n";

std::string Info(const char* text) {
    return "info:"s + text;
}
std::string Error(const char* text) {
    return "error:"s + text;
}
std::string Status(const char* suffix) {
    return "status:"s + kProgramTitle + suffix;
}
std::string Sequence(std::initializer_list<std::string> entries) {
    std::string joined;
    for (const std::string& entry : entries)
        joined += (joined.empty() ? "" : "|") + entry;
    return joined;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::optional<std::string> ReadFile(const fs::path& path) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, count);
    fclose(file);
    return bytes;
}

// A mount namespace of this process's own, so mounts stay private to the test; as root
// directly, otherwise inside a user namespace.
void EnterPrivateMountNamespace() {
    static bool entered = false;
    if (entered)
        return;
    const uid_t uid = getuid();
    if (unshare(CLONE_NEWNS) != 0) {
        ASSERT_EQ(unshare(CLONE_NEWUSER | CLONE_NEWNS), 0) << "no mount namespace";
        const std::string map = std::to_string(uid) + " " + std::to_string(uid) + " 1";
        WriteFile("/proc/self/setgroups", "deny");
        WriteFile("/proc/self/uid_map", map);
    }
    ASSERT_EQ(mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
    entered = true;
}

class FloppyCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        stand_in::ResetMemoryRegistry();
        stand_in::ClearFeedback();
        stand_in::ClearInternetSettings();
        char pattern[] = "/tmp/floppy-test-XXXXXX";
        work_ = mkdtemp(pattern);
        fs::create_directory(work_ / "program");
        program_ = work_ / "program" / "hiscores.exe";
        WriteFile(program_, "MZ the program");
        stand_in::SetProgramPath(program_.c_str());
        floppy_ = work_ / "floppy";
        fs::create_directory(floppy_);
    }
    void TearDown() override {
        if (mounted_)
            umount(floppy_.c_str());
        fs::remove_all(work_);
    }

    std::string Folder() const { return floppy_.string() + "/"; }
    void Mount(unsigned long flags, const char* options) {
        EnterPrivateMountNamespace();
        ASSERT_EQ(mount("tmpfs", floppy_.c_str(), "tmpfs", flags, options), 0);
        mounted_ = true;
    }
    std::vector<std::string> OnFloppy() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(floppy_))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    void Save(const std::vector<std::string>& records) {
        for (size_t i = 0; i < records.size(); ++i)
            stand_in::SetValue("Software\\Tumbra\\Floppy Racer", "_rek_" + std::to_string(i + 1), 1,
                               records[i] + '\0');
        SaveHiscoresToFolder(Folder().c_str());
    }
    // The file on the floppy sent to a loopback server; what the server received.
    std::string Send() {
        LoopbackServer server({kOk});
        SendHiscoresFromFolder(Folder().c_str(), LoopbackUploadServer(server.Port()));
        return server.Received();
    }

    fs::path work_;
    fs::path program_;
    fs::path floppy_;
    bool mounted_ = false;
};

TEST_F(FloppyCommands, SaveWritesTheTextAndCopiesTheProgramOverOlderFiles) {
    for (const bool older : {false, true}) {
        SCOPED_TRACE(older ? "over older files" : "on an empty disk");
        stand_in::ClearFeedback();
        if (older) {
            WriteFile(floppy_ / "hs.dat", std::string(24000, 'o'));
            WriteFile(floppy_ / "hiscores.exe", "MZ an older program");
        }
        Save(kRecords);
        EXPECT_EQ(stand_in::FeedbackSequence(),
                  Sequence({Info(kInsertFloppyMessage), Status(kSavingFloppyStatus),
                            Status(kSavingProgramStatus), Status(kNoStatus),
                            Info(kSavedToFloppyMessage)}));
        EXPECT_EQ(OnFloppy(), (std::vector<std::string>{"hiscores.exe", "hs.dat"}));
        EXPECT_EQ(ReadFile(floppy_ / "hs.dat"), kSavedBytes);
        EXPECT_EQ(ReadFile(floppy_ / "hiscores.exe"), ReadFile(program_));
    }
}

TEST_F(FloppyCommands, SaveSaysHowManyRecordsDidNotFitInTheFile) {
    const std::string first(6000, 'a');
    Save({first, std::string(6000, 'b'), "c"});
    char saved[kMessageBufferSize];
    snprintf(saved, sizeof saved, kSavedWithLeftOutFormat, kSavedToFloppyMessage, 2);
    EXPECT_STREQ(stand_in::FeedbackTexts(stand_in::FeedbackKind::Info),
                 (kInsertFloppyMessage + "|"s + saved).c_str());
    EXPECT_TRUE(ReadFile(floppy_ / "hs.dat") == first + "\r\n");
}

TEST_F(FloppyCommands, SavedFileIsSentAsTheSavedText) {
    Save(kRecords);
    stand_in::ClearFeedback();
    stand_in::ResetMemoryRegistry();
    const std::string received = Send();
    EXPECT_EQ(received.substr(received.find("\r\n\r\n") + 4), kSavedText);
    EXPECT_EQ(stand_in::FeedbackSequence(),
              Sequence({Status(kReadingFloppyStatus), Status(kConnectingStatus),
                        Status(kSendingStatus), Status(kNoStatus), Info(kSentFromFloppyMessage)}));
}

TEST_F(FloppyCommands, SaveWithoutRecordsComplainsBeforeThePromptAndTouchesNoDisk) {
    Save({});
    EXPECT_EQ(stand_in::FeedbackSequence(), Error(kNoHiscoresMessage));
    EXPECT_EQ(OnFloppy(), std::vector<std::string>{});
}

TEST_F(FloppyCommands, SaveFromTheFloppyMakesNoCopy) {
    stand_in::SetProgramPath((floppy_ / "hiscores.exe").c_str());
    Save(kRecords);
    EXPECT_EQ(stand_in::FeedbackSequence(),
              Sequence({Info(kInsertFloppyMessage), Status(kSavingFloppyStatus), Status(kNoStatus),
                        Info(kSavedToFloppyMessage)}));
    EXPECT_EQ(OnFloppy(), std::vector<std::string>{"hs.dat"});
}

TEST_F(FloppyCommands, RefusedCopyKeepsTheFileAndSaysSo) {
    // A folder of the program's name stands in the copy's way.
    fs::create_directory(floppy_ / "hiscores.exe");
    Save(kRecords);
    EXPECT_EQ(stand_in::FeedbackSequence(),
              Sequence({Info(kInsertFloppyMessage), Status(kSavingFloppyStatus),
                        Status(kSavingProgramStatus), Status(kNoStatus),
                        Error(kCannotCopyProgramMessage)}));
    EXPECT_EQ(ReadFile(floppy_ / "hs.dat"), kSavedBytes);
}

TEST_F(FloppyCommands, SaveToADiskThatRefusesWritesLeavesNoFile) {
    const std::string writeFailed =
        Sequence({Info(kInsertFloppyMessage), Status(kSavingFloppyStatus), Status(kNoStatus),
                  Error(kCannotWriteFloppyMessage)});
    struct Case {
        const char* disk;
        unsigned long flags;
        std::string filler;
        std::vector<std::string> records;
        std::string shown;
    };
    const Case cases[] = {
        {"write-protected", MS_RDONLY, "", kRecords,
         Sequence({Info(kInsertFloppyMessage), Error(kCannotWriteFloppyMessage)})},
        // About 9 KB of text on a 4 KB disk: writing fails part of the way.
        {"filling up", 0, "", std::vector<std::string>(9, std::string(1000, 'x')), writeFailed},
        // A short text stays in the stream's buffer: the full disk shows only at closing.
        {"full", 0, std::string(4096, 'f'), kRecords, writeFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.disk);
        stand_in::ClearFeedback();
        Mount(c.flags, "size=4k");
        if (!c.filler.empty())
            WriteFile(floppy_ / "filler", c.filler);
        Save(c.records);
        EXPECT_EQ(stand_in::FeedbackSequence(), c.shown);
        EXPECT_EQ(OnFloppy(), c.filler.empty() ? std::vector<std::string>{}
                                               : std::vector<std::string>{"filler"});
        umount(floppy_.c_str());
        mounted_ = false;
    }
}

TEST_F(FloppyCommands, SendUploadsTheFileTextOrSaysWhyNot) {
    const std::string sent =
        Sequence({Status(kReadingFloppyStatus), Status(kConnectingStatus), Status(kSendingStatus),
                  Status(kNoStatus), Info(kSentFromFloppyMessage)});
    const std::string first(999, 'p');
    struct Case {
        const char* file;
        std::optional<std::string> bytes; // none: no file
        std::string body;                 // what the server receives after the head
        std::string shown;
    };
    const Case cases[] = {
        // The first 1000-byte read ends inside a carriage return and line feed pair.
        {"every kind of byte", first + "\r\n100%s\r\nlone\rcr\r\n\xe9\x1a\r\n",
         first + "\n100%s\nlone\rcr\n\xe9\x1a\n", sent},
        {"empty", "", "", sent},
        {"NUL ends only its chunk", "kept\r\n\0"s + std::string(994, 'd') + "next\r\n",
         "kept\nnext\n", sent},
        {"too long", std::string(10000, 'x'), "",
         Sequence(
             {Status(kReadingFloppyStatus), Status(kNoStatus), Error(kFloppyFileTooLongMessage)})},
        {"missing", std::nullopt, "", Error(kCannotReadFloppyMessage)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        stand_in::ClearFeedback();
        fs::remove(floppy_ / "hs.dat");
        if (c.bytes)
            WriteFile(floppy_ / "hs.dat", *c.bytes);
        const std::string received = Send();
        const bool uploaded = c.shown == sent;
        EXPECT_EQ(received, uploaded ? UploadRequest(c.body) : "");
        EXPECT_EQ(stand_in::FeedbackSequence(), c.shown);
    }
}

TEST_F(FloppyCommands, SendWithoutTheFolderSaysThereIsNoFloppy) {
    fs::remove_all(floppy_);
    EXPECT_EQ(Send(), "");
    EXPECT_EQ(stand_in::FeedbackSequence(), Error(kCannotReadFloppyMessage));
}

} // namespace
} // namespace hiscores
