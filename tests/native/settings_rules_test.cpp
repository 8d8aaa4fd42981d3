#include "uninstall/settings_rules.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(StartUpListFor, TheTagNamesTheList) {
    struct Case {
        const wchar_t* name;
        std::optional<RegRoot> root;
        std::wstring key;
    };
    const Case cases[] = {
        {L"HKLM:Some App", kHkeyLocalMachine, kMachineRunKey},
        {L"hklm:Some App", kHkeyLocalMachine, kMachineRunKey},
        {L"HKCU:Tool", kHkeyCurrentUser, kUserRunKey},
        {L"hKcU:", kHkeyCurrentUser, kUserRunKey},
        {L"STAR:Menu entry", kHkeyCurrentUser, kUserRunKey},
        {L"star:x", kHkeyCurrentUser, kUserRunKey},
        {L"HKCR:Tool", std::nullopt, L""},
        {L"HKCU", std::nullopt, L""},
        {L"HKCU;Tool", std::nullopt, L""},
        {L" HKCU:Tool", std::nullopt, L""},
        {L"", std::nullopt, L""},
    };
    for (const Case& c : cases) {
        const std::optional<StartUpList> list = StartUpListFor(c.name);
        ASSERT_EQ(list.has_value(), c.root.has_value()) << testing::PrintToString(c.name);
        if (list) {
            EXPECT_EQ(list->root, *c.root) << testing::PrintToString(c.name);
            EXPECT_EQ(list->key, c.key) << testing::PrintToString(c.name);
        }
    }
}

TEST(StartUpEntryName, DropsTheTagAndEveryBlank) {
    EXPECT_EQ(StartUpEntryName(L"HKCU:My Tool"), L"MyTool");
    EXPECT_EQ(StartUpEntryName(L"HKLM: Some  App "), L"SomeApp");
    EXPECT_EQ(StartUpEntryName(L"HKCU:"), L"") << "the list's unnamed value";
    EXPECT_EQ(StartUpEntryName(L"HKC"), L"");
    EXPECT_EQ(StartUpEntryName(L"STAR:a\tb"), L"a\tb") << "only blanks go";
}

} // namespace
} // namespace vt
