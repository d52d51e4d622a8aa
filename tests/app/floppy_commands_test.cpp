// The floppy commands over a folder of this machine: a plain temporary folder, one
// mounted read-only, and a tiny file system that fills up. The mounts are made in a
// mount namespace of the test's own.
#include "hiscores/app/floppy_commands.h"
#include "hiscores/common/messages.h"
#include "tests/support/fixed_internet_settings.h"
#include "tests/support/fixed_program_file.h"
#include "tests/support/loopback_server.h"
#include "tests/support/recording_feedback.h"
#include "tests/support/registry_content.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace hiscores {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using stand_in::Error;
using stand_in::Feedback;
using stand_in::Info;
using stand_in::Status;

const std::vector<std::string> kRecords = {"alice 100% 5000", "multi\nline", "", "cr\rinside"};
const std::string kSavedText = "alice 100% 5000\nmulti\nline\n\ncr\rinside\n";
const std::string kSavedBytes = "alice 100% 5000\r\nmulti\r\nline\r\n\r\ncr\rinside\r\n";
const Feedback kSentShown = {Status(kReadingFloppyStatus), Status(kConnectingStatus),
                             Status(kSendingStatus), Status(kNoStatus),
                             Info(kSentFromFloppyMessage)};
const Feedback kSavedShown = {Info(kInsertFloppyMessage), Status(kSavingFloppyStatus),
                              Status(kSavingProgramStatus), Status(kNoStatus),
                              Info(kSavedToFloppyMessage)};

// A disk's contents: "name=bytes" for a file, "name/" for a folder.
using Files = std::vector<std::string>;
const std::string kProgramCopy = "hiscores.exe=MZ the program";
const std::string kSavedFile = "hs.dat=" + kSavedBytes;

// The saved message that tells how many records were left out.
std::string LeftOut(int count) {
    return Info(stand_in::Formatted(kSavedWithLeftOutFormat, kSavedToFloppyMessage, count));
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string ReadFile(const fs::path& path) {
    std::string bytes(fs::file_size(path), '\0');
    FILE* file = fopen(path.c_str(), "rb");
    EXPECT_EQ(fread(bytes.data(), 1, bytes.size(), file), bytes.size()) << path;
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
        stand_in::ClearInternetSettings();
        char pattern[] = "/tmp/floppy-test-XXXXXX";
        work_ = mkdtemp(pattern);
        fs::create_directory(work_ / "program");
        program_ = work_ / "program" / "hiscores.exe";
        WriteFile(program_, "MZ the program");
        floppy_ = work_ / "floppy";
    }
    void TearDown() override {
        umount(floppy_.c_str());
        fs::remove_all(work_);
    }

    // An empty floppy, the program in a folder of its own, nothing stored or shown.
    void Start() {
        umount(floppy_.c_str()); // when a disk was mounted there
        fs::remove_all(floppy_);
        fs::create_directory(floppy_);
        stand_in::SetProgramPath(program_.c_str());
        stand_in::ResetRegistry();
        stand_in::ClearFeedback();
    }
    // A 4 KB disk in the floppy's place.
    void Mount(unsigned long flags) {
        EnterPrivateMountNamespace();
        ASSERT_EQ(mount("tmpfs", floppy_.c_str(), "tmpfs", flags, "size=4k"), 0);
    }
    std::string Folder() const { return floppy_.string() + "/"; }
    void Put(const Files& files) {
        for (const std::string& file : files) {
            const size_t equals = file.find('=');
            if (equals == std::string::npos)
                fs::create_directory(floppy_ / file);
            else
                WriteFile(floppy_ / file.substr(0, equals), file.substr(equals + 1));
        }
    }
    Files OnFloppy() const {
        Files files;
        for (const fs::directory_entry& entry : fs::directory_iterator(floppy_)) {
            const std::string name = entry.path().filename();
            files.push_back(entry.is_directory() ? name + "/" : name + "=" + ReadFile(entry));
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path work_;
    fs::path program_;
    fs::path floppy_;
};

TEST_F(FloppyCommands, SaveWritesTheFileWithTheProgramBesideItOrSaysWhyNot) {
    const std::string insert = Info(kInsertFloppyMessage), saving = Status(kSavingFloppyStatus),
                      copying = Status(kSavingProgramStatus), idle = Status(kNoStatus);
    const Feedback writeFailed = {insert, saving, idle, Error(kCannotWriteFloppyMessage)};
    const std::string first(6000, 'a');
    struct Case {
        const char* disk;
        std::optional<unsigned long> mount = std::nullopt; // a 4 KB disk with these flags
        Files before = {};
        bool runFromFloppy = false;
        std::vector<std::string> records = kRecords;
        Feedback shown = kSavedShown;
        Files after = {kProgramCopy, kSavedFile};
    };
    const std::string filler = "filler=" + std::string(4096, 'f');
    const Case cases[] = {
        {.disk = "empty"},
        {.disk = "with older files",
         .before = {"hiscores.exe=MZ an older program", "hs.dat=" + std::string(24000, 'o')}},
        {.disk = "without room in the file for the last",
         .records = {first, std::string(6000, 'b')},
         .shown = {insert, saving, copying, idle, LeftOut(1)},
         .after = {kProgramCopy, "hs.dat=" + first + "\r\n"}},
        {.disk = "without room in the file for the rest",
         .records = {first, std::string(6000, 'b'), "c"},
         .shown = {insert, saving, copying, idle, LeftOut(2)},
         .after = {kProgramCopy, "hs.dat=" + first + "\r\n"}},
        {.disk = "any, with no records: not even the prompt",
         .records = {},
         .shown = {Error(kNoHiscoresMessage)},
         .after = {}},
        {.disk = "any, with only a record too long to send",
         .records = {std::string(9999, 'x')},
         .shown = {Error(stand_in::Formatted(kAllTooLongFormat, 1))},
         .after = {}},
        {.disk = "the program's own: no copy",
         .runFromFloppy = true,
         .shown = {insert, saving, idle, Info(kSavedToFloppyMessage)},
         .after = {kSavedFile}},
        // A folder of the program's name stands in the copy's way.
        {.disk = "refusing the copy",
         .before = {"hiscores.exe/"},
         .shown = {insert, saving, copying, idle, Error(kCannotCopyProgramMessage)},
         .after = {"hiscores.exe/", kSavedFile}},
        {.disk = "write-protected",
         .mount = MS_RDONLY,
         .shown = {insert, Error(kCannotWriteFloppyMessage)},
         .after = {}},
        // About 9 KB of text on a 4 KB disk: writing fails part of the way.
        {.disk = "filling up",
         .mount = 0,
         .records = std::vector<std::string>(9, std::string(1000, 'x')),
         .shown = writeFailed,
         .after = {}},
        // A short text stays in the stream's buffer: the full disk shows only at closing.
        {.disk = "full", .mount = 0, .before = {filler}, .shown = writeFailed, .after = {filler}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.disk);
        Start();
        if (c.mount)
            Mount(*c.mount);
        Put(c.before);
        if (c.runFromFloppy)
            stand_in::SetProgramPath((floppy_ / "hiscores.exe").c_str());
        stand_in::SetRecords("Floppy Racer", c.records);
        SaveHiscoresToFolder(Folder().c_str());
        EXPECT_EQ(stand_in::Shown(), c.shown);
        EXPECT_EQ(OnFloppy(), c.after);
    }
}

TEST_F(FloppyCommands, SendUploadsTheFileTextOrSaysWhyNot) {
    const std::string first(999, 'p');
    const Feedback tooLong = {Status(kReadingFloppyStatus), Status(kNoStatus),
                              Error(kFloppyFileTooLongMessage)};
    const Feedback noFile = {Error(kCannotReadFloppyMessage)};
    struct Case {
        const char* file;
        std::optional<std::string> bytes; // none: no file
        std::vector<std::string> bodies;  // of the requests the server receives
        Feedback shown = kSentShown;
        const char* folder = ""; // below the floppy's
    };
    const Case cases[] = {
        {"as the save command writes it", kSavedBytes, {kSavedText}},
        // The first 1000-byte read ends inside a carriage return and line feed pair.
        {"every kind of byte",
         first + "\r\n100%s\r\nlone\rcr\r\n\xe9\x1a\r\n",
         {first + "\n100%s\nlone\rcr\n\xe9\x1a\n"}},
        {"empty", "", {""}},
        {"NUL ends only its chunk",
         "kept\r\n\0"s + std::string(994, 'd') + "next\r\n",
         {"kept\nnext\n"}},
        {"too long", std::string(10000, 'x'), {}, tooLong},
        {"missing", std::nullopt, {}, noFile},
        {"in a folder that is not there", kSavedBytes, {}, noFile, "gone/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Start();
        if (c.bytes)
            WriteFile(floppy_ / "hs.dat", *c.bytes);
        LoopbackServer server({"HTTP/1.0 200 OK\r\n\r\n"});
        SendHiscoresFromFolder((Folder() + c.folder).c_str(), LoopbackUploadServer(server.Port()));
        EXPECT_EQ(server.Bodies(), c.bodies);
        EXPECT_EQ(stand_in::Shown(), c.shown);
    }
}

} // namespace
} // namespace hiscores
