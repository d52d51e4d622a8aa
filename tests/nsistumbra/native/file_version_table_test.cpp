#include "nsistumbra/file_version_table.h"

#include "tests/nsistumbra/dx_answers.h"
#include "tests/support/listed_system_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nsistumbra {
namespace {

TEST(FileVersionTable, LastRowThatHoldsWins) {
    struct Case {
        const char* title;
        std::vector<std::string> files;
        DxVersionParts parts;
        bool directoryReadable = true;
    };
    const Case cases[] = {
        {"no file of the table", {}, {0, 0, ' '}},
        {"dinput one short of 7.0a", {"ddraw.dll 4.7.0.700", "dinput.dll 4.7.0.715"}, {7, 0, ' '}},
        {"dinput at 7.0a", {"ddraw.dll 4.7.0.700", "dinput.dll 4.7.0.716"}, {7, 0, 'a'}},
        {"ddraw equal to the 6.1 threshold", {"ddraw.dll 4.6.0.436"}, {6, 1, ' '}},
        {"ddraw one short of 6.1", {"ddraw.dll 4.6.0.435"}, {6, 0, ' '}},
        {"ddraw with major word 6", {"ddraw.dll 6.0.0.1"}, {7, 0, ' '}},
        {"ddraw major word 5 below 8.0", {"ddraw.dll 5.1.2258.399"}, {7, 0, ' '}},
        {"ddraw major word 5 at 8.0", {"ddraw.dll 5.1.2258.400"}, {8, 0, ' '}},
        {"ddraw major word 4 at 8.0", {"ddraw.dll 4.8.0.400"}, {8, 0, ' '}},
        {"d3drg8x alone", {"d3drg8x.dll 4.4.0.70"}, {3, 0, 'a'}},
        {"dplayx alone", {"dplayx.dll 4.6.3.518"}, {6, 1, 'a'}},
        {"mpg2splt alone", {"mpg2splt.ax 6.3.1.885"}, {8, 1, 'b'}},
        {"mpg2splt, newer ddraw", {"ddraw.dll 5.3.1.904", "mpg2splt.ax 6.3.1.885"}, {8, 1, 'b'}},
        {"d3d8 short of 8.1", {"ddraw.dll 5.1.2258.400", "d3d8.dll 5.1.2600.880"}, {8, 0, ' '}},
        {"d3d8 at 8.1", {"d3d8.dll 5.1.2600.881"}, {8, 1, ' '}},
        {"d3d8 at 8.1a", {"d3d8.dll 5.1.2600.901"}, {8, 1, 'a'}},
        {"d3d8 major word 4 at 8.1a", {"d3d8.dll 4.8.1.901"}, {8, 1, 'a'}},
        {"d3d8 major word 6", {"d3d8.dll 6.0.0.0"}, {0, 0, ' '}},
        {"dpnet at 8.2", {"d3d8.dll 5.1.2600.901", "dpnet.dll 5.2.3677.134"}, {8, 2, ' '}},
        {"dpnet short of 8.2", {"d3d8.dll 5.1.2600.901", "dpnet.dll 5.2.3677.133"}, {8, 1, 'a'}},
        {"d3d9 without a version resource", {"d3d9.dll"}, {0, 0, ' '}},
        {"d3d9 with any version", {"d3d9.dll 0.0.0.0"}, {9, 0, ' '}},
        {"a system directory as Wine has it",
         {"ddraw.dll 5.3.1.904", "dplayx.dll 5.3.1.904", "dinput.dll 5.1.2600.881",
          "d3d8.dll 5.3.1.904", "dpnet.dll 5.3.0.900", "d3d9.dll 5.3.1.904"},
         {9, 0, ' '}},
        {"an unreadable system directory", {"d3d9.dll 5.3.1.904"}, {0, 0, ' '}, false},
    };
    // Each file once in the order of the table: neighbouring rows of one file share a reading.
    std::vector<std::string> readOrder;
    for (const char* name :
         {"ddraw.dll", "d3drg8x.dll", "ddraw.dll", "dplayx.dll", "ddraw.dll", "dinput.dll",
          "ddraw.dll", "d3d8.dll", "mpg2splt.ax", "dpnet.dll", "d3d9.dll"})
        readOrder.push_back(std::string(stand_in::kSystemDirectory) + "\\" + name);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        stand_in::SetSystemFiles(c.files, c.directoryReadable);
        EXPECT_EQ(QueryParts(QueryVersionFromFiles), c.parts);
        EXPECT_EQ(stand_in::FilesRead(),
                  c.directoryReadable ? readOrder : std::vector<std::string>{});
    }
}

TEST(FileVersionTable, WritesOnlyTheOutputsGiven) {
    stand_in::SetSystemFiles({"dinput.dll 4.7.0.716"});
    char letter = '?';
    QueryVersionFromFiles(nullptr, nullptr, &letter);
    EXPECT_EQ(letter, 'a');
    std::uint32_t minor = 77;
    QueryVersionFromFiles(nullptr, &minor, nullptr);
    EXPECT_EQ(minor, 0u);
}

} // namespace
} // namespace nsistumbra
