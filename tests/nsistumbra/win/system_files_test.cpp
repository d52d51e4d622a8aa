#include <windows.h>

#include "nsistumbra/file_version_table.h"
#include "nsistumbra/system_files.h"

#include "tests/nsistumbra/dx_answers.h"

#include <gtest/gtest.h>

#include <string>

namespace nsistumbra {
namespace {

std::string SystemPath(const char* name) {
    char directory[kSystemDirectoryCapacity];
    EXPECT_TRUE(ReadSystemDirectory(directory, sizeof directory));
    return std::string(directory) + "\\" + name;
}

std::string FixturePath(const char* name) {
    return std::string(NSISTUMBRA_FIXTURES) + "/" + name;
}

TEST(ReadFileVersion, ReadsTheFileVersionRecord) {
    struct Case {
        std::string path;
        Status status;
        FileVersion64 version;
    };
    const Case cases[] = {
        {SystemPath("ddraw.dll"), Status::kOk, MakeVersion64(5, 3, 1, 904)},
        {SystemPath("dinput.dll"), Status::kOk, MakeVersion64(5, 1, 2600, 881)},
        {SystemPath("dpnet.dll"), Status::kOk, MakeVersion64(5, 3, 0, 900)},
        {SystemPath("d3d9.dll"), Status::kOk, MakeVersion64(5, 3, 1, 904)},
        // The fixture's product version is 9.9.9.9.
        {FixturePath("at/mpg2splt.ax"), Status::kOk, MakeVersion64(6, 3, 1, 885)},
        {FixturePath("no-resource/mpg2splt.ax"), Status::kFail, 0},
        {SystemPath("mpg2splt.ax"), Status::kFail, 0}, // no such file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        FileVersion64 version = 0;
        EXPECT_EQ(ReadFileVersion(c.path.c_str(), &version), c.status);
        EXPECT_EQ(version, c.version);
    }
}

TEST(ReadFileVersion, RejectsAbsentPathOrOutput) {
    FileVersion64 version = 0;
    EXPECT_EQ(ReadFileVersion(nullptr, &version), Status::kInvalidArgument);
    EXPECT_EQ(ReadFileVersion(SystemPath("ddraw.dll").c_str(), nullptr), Status::kInvalidArgument);
}

TEST(QueryVersionFromFiles, ThresholdsHoldOnRealFiles) {
    struct Case {
        const char* directory; // a fixture's, or null for the system directory
        DxVersionParts parts;
    };
    const Case cases[] = {
        {nullptr, {9, 0, ' '}},        // Wine's own files
        {"below", {0, 0, ' '}},        // both files one short of their thresholds
        {"at", {8, 1, 'b'}},           // both exactly at them: the later row wins
        {"d3drg8x-only", {3, 0, 'a'}}, // a file whose path is built behind the directory
        {"no-resource", {0, 0, ' '}},  // mpg2splt.ax without a version record
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory ? c.directory : "system directory");
        const std::string directory = FixturePath(c.directory ? c.directory : "");
        const auto query = [&](auto... outputs) {
            if (c.directory == nullptr)
                QueryVersionFromFiles(outputs...);
            else
                QueryVersionFromFilesIn(directory.c_str(), outputs...);
        };
        EXPECT_EQ(QueryParts(query), c.parts);
    }
}

} // namespace
} // namespace nsistumbra
