#include "nsistumbra/file_version_table.h"

#include "nsistumbra/bounded_string.h"
#include "nsistumbra/system_files.h"
#include "nsistumbra/version64.h"

#include <array>
#include <cstring>

namespace nsistumbra {

namespace {

enum class ConditionKind { kAtLeast, kByMajorWord, kReadable };

struct Condition {
    ConditionKind kind;
    FileVersion64 threshold;     // kAtLeast, or kByMajorWord for major word 4
    FileVersion64 thresholdFor5; // kByMajorWord for major word 5
};

constexpr Condition AtLeast(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return {ConditionKind::kAtLeast, MakeVersion64(a, b, c, d), 0};
}

struct VersionParts {
    std::uint32_t a, b, c, d;
};

constexpr Condition ByMajorWord(VersionParts forMajor4, VersionParts forMajor5) {
    return {ConditionKind::kByMajorWord,
            MakeVersion64(forMajor4.a, forMajor4.b, forMajor4.c, forMajor4.d),
            MakeVersion64(forMajor5.a, forMajor5.b, forMajor5.c, forMajor5.d)};
}

constexpr Condition Readable() {
    return {ConditionKind::kReadable, 0, 0};
}

struct FileVersionCheck {
    const char* fileName;
    Condition condition;
    std::uint32_t major;
    std::uint32_t minor;
    char letter;
};

// Ordered by the version each row reports; every row that holds overwrites the answer.
// clang-format off
constexpr std::array<FileVersionCheck, 16> kFileVersionChecks = {{
    //  file            condition                                           answer
    {"\\ddraw.dll",    AtLeast(4, 2, 0, 95),                                1, 0, ' '},
    {"\\ddraw.dll",    AtLeast(4, 3, 0, 1096),                              2, 0, ' '},
    {"\\ddraw.dll",    AtLeast(4, 4, 0, 68),                                3, 0, ' '},
    {"\\d3drg8x.dll",  AtLeast(4, 4, 0, 70),                                3, 0, 'a'},
    {"\\ddraw.dll",    AtLeast(4, 5, 0, 155),                               5, 0, ' '},
    {"\\ddraw.dll",    AtLeast(4, 6, 0, 318),                               6, 0, ' '},
    {"\\ddraw.dll",    AtLeast(4, 6, 0, 436),                               6, 1, ' '},
    {"\\dplayx.dll",   AtLeast(4, 6, 3, 518),                               6, 1, 'a'},
    {"\\ddraw.dll",    AtLeast(4, 7, 0, 700),                               7, 0, ' '},
    {"\\dinput.dll",   AtLeast(4, 7, 0, 716),                               7, 0, 'a'},
    {"\\ddraw.dll",    ByMajorWord({4, 8, 0, 400}, {5, 1, 2258, 400}),      8, 0, ' '},
    {"\\d3d8.dll",     ByMajorWord({4, 8, 1, 881}, {5, 1, 2600, 881}),      8, 1, ' '},
    {"\\d3d8.dll",     ByMajorWord({4, 8, 1, 901}, {5, 1, 2600, 901}),      8, 1, 'a'},
    {"\\mpg2splt.ax",  AtLeast(6, 3, 1, 885),                               8, 1, 'b'},
    {"\\dpnet.dll",    ByMajorWord({4, 9, 0, 134}, {5, 2, 3677, 134}),      8, 2, ' '},
    {"\\d3d9.dll",     Readable(),                                          9, 0, ' '},
}};
// clang-format on

bool Holds(const Condition& condition, FileVersion64 version) {
    switch (condition.kind) {
    case ConditionKind::kAtLeast:
        return version >= condition.threshold;
    case ConditionKind::kByMajorWord:
        if (MajorWord(version) == 4)
            return version >= condition.threshold;
        if (MajorWord(version) == 5)
            return version >= condition.thresholdFor5;
        return false;
    case ConditionKind::kReadable:
        return true;
    }
    return false;
}

void WriteAnswer(std::uint32_t* major, std::uint32_t* minor, char* letter, std::uint32_t majorValue,
                 std::uint32_t minorValue, char letterValue) {
    if (major != nullptr)
        *major = majorValue;
    if (minor != nullptr)
        *minor = minorValue;
    if (letter != nullptr)
        *letter = letterValue;
}

} // namespace

void QueryVersionFromFilesIn(const char* directory, std::uint32_t* major, std::uint32_t* minor,
                             char* letter) {
    bool found = false;
    const char* fileRead = nullptr;
    Status readStatus = Status::kFail;
    FileVersion64 version = 0;
    for (const FileVersionCheck& check : kFileVersionChecks) {
        // Neighbouring rows that name the same file share one reading.
        if (fileRead == nullptr || std::strcmp(fileRead, check.fileName) != 0) {
            char path[kFilePathCapacity];
            CopyBounded(path, sizeof path, directory);
            ConcatBounded(path, sizeof path, check.fileName);
            readStatus = ReadFileVersion(path, &version);
            fileRead = check.fileName;
        }
        if (readStatus == Status::kOk && Holds(check.condition, version)) {
            WriteAnswer(major, minor, letter, check.major, check.minor, check.letter);
            found = true;
        }
    }
    if (!found)
        WriteAnswer(major, minor, letter, 0, 0, ' ');
}

void QueryVersionFromFiles(std::uint32_t* major, std::uint32_t* minor, char* letter) {
    char directory[kSystemDirectoryCapacity];
    if (!ReadSystemDirectory(directory, sizeof directory)) {
        WriteAnswer(major, minor, letter, 0, 0, ' ');
        return;
    }
    directory[kSystemDirectoryCapacity - 1] = '\0';
    QueryVersionFromFilesIn(directory, major, minor, letter);
}

} // namespace nsistumbra
