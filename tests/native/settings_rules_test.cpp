#include "uninstall/settings_rules.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(StartUpListFor, TheTagNamesTheList) {
    const struct {
        const wchar_t* name;
        std::optional<RegRoot> root;
        std::wstring key;
    } cases[] = {
        {L"HKLM:Some App", kHkeyLocalMachine, kMachineRunKey},
        {L"hklm:Some App", kHkeyLocalMachine, kMachineRunKey},
        {L"hKcU:", kHkeyCurrentUser, kUserRunKey},
        {L"star:x", kHkeyCurrentUser, kUserRunKey},
        {L"HKCR:Tool", std::nullopt, L""},
        {L"HKCU", std::nullopt, L""},
        {L"HKCU;Tool", std::nullopt, L""},
        {L" HKCU:Tool", std::nullopt, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        const std::optional<StartUpList> list = StartUpListFor(c.name);
        ASSERT_EQ(list.has_value(), c.root.has_value());
        if (list) {
            EXPECT_EQ(list->root, *c.root);
            EXPECT_EQ(list->key, c.key);
        }
    }
}

TEST(StartUpEntryName, DropsTheTagAndEveryBlank) {
    EXPECT_EQ(StartUpEntryName(L"HKLM: Some  App "), L"SomeApp");
    EXPECT_EQ(StartUpEntryName(L"HKCU:"), L"") << "the list's unnamed value";
    EXPECT_EQ(StartUpEntryName(L"HKC"), L"");
    EXPECT_EQ(StartUpEntryName(L"STAR:a\tb"), L"a\tb") << "only blanks go";
}

} // namespace
} // namespace vt
