#include <windows.h>

#include "nsistumbra/file_version_table.h"
#include "nsistumbra/system_files.h"

#include <gtest/gtest.h>

#include <string>

namespace nsistumbra {
namespace {

std::string SystemPath(const char* name) {
    char directory[kSystemDirectoryCapacity];
    EXPECT_TRUE(ReadSystemDirectory(directory, sizeof directory));
    return std::string(directory) + "\\" + name;
}

struct SystemFileCase {
    const char* name;
    FileVersion64 version;
};

TEST(ReadFileVersion, ReadsTheFileVersionOfWineSystemDlls) {
    const SystemFileCase cases[] = {
        {"ddraw.dll", MakeVersion64(5, 3, 1, 904)},
        {"dinput.dll", MakeVersion64(5, 1, 2600, 881)},
        {"dpnet.dll", MakeVersion64(5, 3, 0, 900)},
        {"d3d9.dll", MakeVersion64(5, 3, 1, 904)},
    };
    for (const SystemFileCase& c : cases) {
        FileVersion64 version = 0;
        EXPECT_EQ(S_OK, ReadFileVersion(SystemPath(c.name).c_str(), &version)) << c.name;
        EXPECT_EQ(c.version, version) << c.name;
    }
}

TEST(ReadFileVersion, FailsWithoutVersionResourceOrFile) {
    FileVersion64 version = 0;
    const std::string fixtures = NSISTUMBRA_FIXTURES;
    EXPECT_EQ(E_FAIL, ReadFileVersion((fixtures + "/no-resource/mpg2splt.ax").c_str(), &version));
    EXPECT_EQ(E_FAIL, ReadFileVersion(SystemPath("mpg2splt.ax").c_str(), &version));
    EXPECT_EQ(E_INVALIDARG, ReadFileVersion(nullptr, &version));
    EXPECT_EQ(E_INVALIDARG, ReadFileVersion(SystemPath("ddraw.dll").c_str(), nullptr));
}

TEST(ReadFileVersion, ReadsFileNotProductVersionOfFixture) {
    FileVersion64 version = 0;
    const std::string fixtures = NSISTUMBRA_FIXTURES;
    EXPECT_EQ(S_OK, ReadFileVersion((fixtures + "/at/mpg2splt.ax").c_str(), &version));
    EXPECT_EQ(MakeVersion64(6, 3, 1, 885), version);
}

TEST(QueryVersionFromFiles, WineSystemDirectoryGivesNineWithoutLetter) {
    std::uint32_t major = 77;
    std::uint32_t minor = 77;
    char letter = '?';
    EXPECT_EQ(S_OK, QueryVersionFromFiles(&major, &minor, &letter));
    EXPECT_EQ(9u, major);
    EXPECT_EQ(0u, minor);
    EXPECT_EQ(' ', letter);
}

struct FixtureCase {
    const char* directory;
    std::uint32_t major;
    std::uint32_t minor;
    char letter;
};

TEST(QueryVersionFromFiles, ThresholdsHoldOnRealFiles) {
    const FixtureCase cases[] = {
        {"below", 0, 0, ' '},        // both files one short of their thresholds
        {"at", 8, 1, 'b'},           // both exactly at them: the later row wins
        {"d3drg8x-only", 3, 0, 'a'}, // a file whose path is built behind the directory
        {"no-resource", 0, 0, ' '},  // mpg2splt.ax without a version record
    };
    for (const FixtureCase& c : cases) {
        const std::string directory = std::string(NSISTUMBRA_FIXTURES) + "/" + c.directory;
        std::uint32_t major = 77;
        std::uint32_t minor = 77;
        char letter = '?';
        EXPECT_EQ(S_OK, QueryVersionFromFilesIn(directory.c_str(), &major, &minor, &letter))
            << c.directory;
        EXPECT_EQ(c.major, major) << c.directory;
        EXPECT_EQ(c.minor, minor) << c.directory;
        EXPECT_EQ(c.letter, letter) << c.directory;
    }
}

} // namespace
} // namespace nsistumbra
