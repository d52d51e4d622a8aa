#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The plug-in as an installer sees it: loaded with LoadLibrary, its exports found by
// name, its stack entries made with GlobalAlloc as NSIS makes them.
namespace {

struct StackEntry {
    StackEntry* next;
};

template <class Char> using NeedDxVerExport = void(__cdecl*)(HWND, int, Char*, StackEntry**, void*);
using NeedDxVer2Export = int(__cdecl*)(const char*);
using IsWinNtExport = int(__cdecl*)();

constexpr int kStringSize = 1024;

template <class Char> Char* TextOf(StackEntry* entry) {
    return reinterpret_cast<Char*>(entry + 1);
}

template <class Char> void Push(StackEntry** top, const std::string& text) {
    auto* entry = static_cast<StackEntry*>(
        GlobalAlloc(GPTR, sizeof(StackEntry) + kStringSize * sizeof(Char)));
    for (std::size_t index = 0; index < text.size(); ++index)
        TextOf<Char>(entry)[index] = static_cast<Char>(text[index]);
    entry->next = *top;
    *top = entry;
}

template <class Char> std::vector<std::string> Drain(StackEntry** top) {
    std::vector<std::string> texts;
    while (*top != nullptr) {
        StackEntry* entry = *top;
        std::string text;
        for (const Char* c = TextOf<Char>(entry); *c != 0; ++c)
            text += static_cast<char>(*c);
        texts.push_back(text);
        *top = entry->next;
        GlobalFree(entry);
    }
    return texts;
}

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
    const auto needdxver = plugin.Find<NeedDxVerExport<Char>>("needdxver");
    ASSERT_NE(needdxver, nullptr);
    struct Case {
        std::vector<std::string> before; // top first
        std::vector<std::string> after;
    };
    // Wine's provider reports 9.0c.
    const Case cases[] = {
        {{"90003", "x"}, {"ok"}},
        {{"90004", "x"}, {"sorry"}},
        {{"0x90003", "x", "kept"}, {"ok", "kept"}},
        {{"90003"}, {"err"}},
        {{}, {"err"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before.empty() ? "(empty)" : c.before[0]);
        StackEntry* top = nullptr;
        for (auto text = c.before.rbegin(); text != c.before.rend(); ++text)
            Push<Char>(&top, *text);
        Char variables[kStringSize] = {};
        needdxver(nullptr, kStringSize, variables, &top, nullptr);
        EXPECT_EQ(Drain<Char>(&top), c.after);
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
