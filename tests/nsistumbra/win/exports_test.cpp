#include <windows.h>

#include "tests/nsistumbra/stack_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The plug-in as an installer sees it: loaded with LoadLibrary, its exports found by
// name, its stack entries made with GlobalAlloc as NSIS makes them.
namespace nsistumbra {
namespace {

template <class Char> using PluginFunction = void(__cdecl*)(HWND, int, Char*, StackEntry**, void*);
using NeedDxVer2Export = int(__cdecl*)(const char*);
using IsWinNtExport = int(__cdecl*)();

constexpr int kStringSize = 1024;

class Plugin {
  public:
    explicit Plugin(const char* path) : module(LoadLibraryA(path)) {}
    ~Plugin() {
        if (module != nullptr)
            FreeLibrary(module);
    }
    template <class Function> Function Find(const char* name) const {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    HMODULE module;
};

template <class Char> void CheckStackProtocol(const char* path) {
    SCOPED_TRACE(path);
    Plugin plugin(path);
    ASSERT_NE(plugin.module, nullptr);
    struct Case {
        const char* name;
        std::vector<std::string> before; // top first
        std::vector<std::string> after;
    };
    // Wine's provider reports 9.0c.
    const Case cases[] = {
        {"needdxver", {"90003", "x"}, {"ok"}},
        {"needdxver", {"90004", "x"}, {"sorry"}},
        {"needdxver", {"0x90003", "x", "kept"}, {"ok", "kept"}},
        {"needdxver", {"90003"}, {"err"}},
        {"needdxver", {}, {"err"}},
        {"dxversion", {}, {"9.0c"}},
        {"dxversion", {"90003", "kept"}, {"9.0c", "90003", "kept"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << (c.before.empty() ? "" : c.before[0]));
        const auto function = plugin.Find<PluginFunction<Char>>(c.name);
        ASSERT_NE(function, nullptr);
        StackEntry* top = stack_helpers::MakeStack<Char>(c.before, kStringSize);
        Char variables[kStringSize] = {};
        function(nullptr, kStringSize, variables, &top, nullptr);
        EXPECT_EQ(stack_helpers::DrainStack<Char>(top), c.after);
    }
}

TEST(PluginExports, AnsiBuildKeepsEightBitStackTexts) {
    CheckStackProtocol<char>(NSISTUMBRA_ANSI_DLL);
}

TEST(PluginExports, UnicodeBuildKeepsSixteenBitStackTexts) {
    CheckStackProtocol<wchar_t>(NSISTUMBRA_UNICODE_DLL);
}

TEST(PluginExports, PlainExportsAnswerInBothBuilds) {
    for (const char* path : {NSISTUMBRA_ANSI_DLL, NSISTUMBRA_UNICODE_DLL}) {
        SCOPED_TRACE(path);
        Plugin plugin(path);
        ASSERT_NE(plugin.module, nullptr);
        const auto needdxver2 = plugin.Find<NeedDxVer2Export>("needdxver2");
        const auto thisiswinnt2 = plugin.Find<IsWinNtExport>("thisiswinnt2");
        ASSERT_NE(needdxver2, nullptr);
        ASSERT_NE(thisiswinnt2, nullptr);
        EXPECT_EQ(needdxver2("90003"), 1);
        EXPECT_EQ(needdxver2("90004"), 0);
        EXPECT_EQ(needdxver2(nullptr), 1);
        EXPECT_EQ(thisiswinnt2(), 1);
    }
}

} // namespace
} // namespace nsistumbra
