// The registry module against the real registry: each test owns a key of its own under
// HKEY_CURRENT_USER and leaves nothing behind.
#include "system/modReg.h"
#include "system/errors.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vt {
namespace {

using namespace std::string_literals;
using test::CurrentTestName;
using test::TestRegKey;

class ModReg : public testing::Test {
  protected:
    TestRegKey key{CurrentTestName()};
};

TEST_F(ModReg, ReadGivesDefaultOrEmptyByWhatIsStored) {
    const DWORD number = 7;
    key.Set(L"", L"dword", REG_DWORD, &number, sizeof number);
    key.SetString(L"", L"expand", L"%TEMP%\\x", REG_EXPAND_SZ);
    key.Set(L"", L"emptySz", REG_SZ, L"", 0);
    key.SetString(L"", L"emptyText", L"");
    key.SetString(L"", L"path", L"C:\\Program Files\\Veltrane\\Veltrane.exe");
    const std::wstring unterminated = L"abc";
    key.Set(L"", L"unterminated", REG_SZ, unterminated.c_str(), 3 * sizeof(wchar_t));
    const BYTE binary[] = {1, 2, 3};
    key.Set(L"", L"binary", REG_BINARY, binary, sizeof binary);

    struct Case {
        const char* what;
        std::wstring subKey;
        std::wstring value;
        std::wstring expected;
    };
    const Case cases[] = {
        {"missing key", key.Sub(L"missing"), L"path", L"<default>"},
        {"missing value", key.Path(), L"missing", L"<default>"},
        {"REG_SZ without data bytes", key.Path(), L"emptySz", L"<default>"},
        {"REG_SZ holding only its NUL", key.Path(), L"emptyText", L""},
        {"REG_DWORD", key.Path(), L"dword", L""},
        {"REG_EXPAND_SZ", key.Path(), L"expand", L""},
        {"REG_BINARY", key.Path(), L"binary", L""},
        {"REG_SZ", key.Path(), L"path", L"C:\\Program Files\\Veltrane\\Veltrane.exe"},
        {"REG_SZ stored without NUL", key.Path(), L"unterminated", L"abc"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, c.subKey, c.value, L"<default>"), c.expected)
            << c.what;
    }
    EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, key.Path(), L"missing"), L"") << "no default given";
}

TEST_F(ModReg, MultiStringsGiveTheFirstOrAllOnOneLine) {
    const std::wstring two = L"a\0b\0\0"s;
    key.Set(L"", L"two", REG_MULTI_SZ, two.data(), static_cast<DWORD>(two.size() * 2));
    const std::wstring withEmpty = L" x\0\0y \0\0"s;
    key.Set(L"", L"withEmpty", REG_MULTI_SZ, withEmpty.data(),
            static_cast<DWORD>(withEmpty.size() * 2));

    EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, key.Path(), L"two"), L"a");
    EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, key.Path(), L"two", L"", true), L"a b");
    EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, key.Path(), L"withEmpty", L"", false), L" x");
    EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, key.Path(), L"withEmpty", L"", true), L"x  y");
}

TEST_F(ModReg, WriteStoresNumbersAsDwordsAndTextTrimmed) {
    struct Case {
        std::wstring value;
        DWORD type;
        std::wstring text;
        DWORD number;
    };
    const Case cases[] = {
        {L"123", REG_DWORD, L"", 123},
        {L"1.5", REG_DWORD, L"", 2},
        {L"2.5", REG_DWORD, L"", 2},
        {L"-1", REG_DWORD, L"", 0xFFFFFFFF},
        {L"  C:\\Tools\\run.exe /x  ", REG_SZ, L"C:\\Tools\\run.exe /x\0"s, 0},
        {L"", REG_SZ, L"\0"s, 0},
    };
    int i = 0;
    for (const Case& c : cases) {
        const std::wstring name = L"v" + std::to_wstring(i++);
        WriteRegValue(kHkeyCurrentUser, key.Sub(L"new\\deeper"), name, c.value);
        const TestRegKey::Stored stored = key.Get(L"new\\deeper", name);
        ASSERT_TRUE(stored.exists) << testing::PrintToString(c.value);
        EXPECT_EQ(stored.type, c.type) << testing::PrintToString(c.value);
        if (c.type == REG_SZ) {
            EXPECT_EQ(stored.Text(), c.text) << "NUL-terminated, blanks trimmed";
        } else {
            EXPECT_EQ(stored.Dword(), c.number) << testing::PrintToString(c.value);
        }
    }
    WriteRegValue(kHkeyCurrentUser, key.Path(), L"number", 3.5);
    EXPECT_EQ(key.Get(L"", L"number").Dword(), 4u);
}

TEST_F(ModReg, NumbersOutsideThirtyTwoBitsRaiseOverflowAndWriteNothing) {
    for (const std::wstring& value : {L"2147483648"s, L"-2147483649"s, L"1e10"s}) {
        try {
            WriteRegValue(kHkeyCurrentUser, key.Path(), L"big", value);
            ADD_FAILURE() << "no error for " << testing::PrintToString(value);
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.info().number, kErrOverflow);
        }
        EXPECT_FALSE(key.Get(L"", L"big").exists);
    }
    WriteRegValue(kHkeyCurrentUser, key.Path(), L"edge", L"2147483647");
    EXPECT_EQ(key.Get(L"", L"edge").Dword(), 2147483647u);
}

TEST_F(ModReg, KeysExistForEveryRootWithAnEmptyPath) {
    for (const RegRoot root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine}) {
        EXPECT_TRUE(RegKeyExists(root, L"")) << std::hex << root;
        // Asking twice shows that the root was not closed by the first answer.
        EXPECT_TRUE(RegKeyExists(root, L"")) << std::hex << root;
    }
    EXPECT_TRUE(RegKeyExists(kHkeyCurrentUser, key.Path()));
    EXPECT_FALSE(RegKeyExists(kHkeyCurrentUser, key.Sub(L"missing")));
    EXPECT_TRUE(ReadRegValue(kHkeyCurrentUser, L"Software", L"nothing", L"d") == L"d");
}

TEST_F(ModReg, DeleteRemovesOnlyLeafKeys) {
    key.CreateSubKey(L"Tree\\Leaf");
    key.CreateSubKey(L"Lone");
    key.SetString(L"", L"NotAKey", L"x");

    EXPECT_FALSE(DeleteRegKey(kHkeyCurrentUser, key.Path(), L"Tree")) << "has a subkey";
    EXPECT_TRUE(key.KeyExists(L"Tree\\Leaf"));
    EXPECT_FALSE(DeleteRegKey(kHkeyCurrentUser, key.Sub(L"missing"), L"Lone"));
    EXPECT_FALSE(DeleteRegKey(kHkeyCurrentUser, key.Path(), L"NotAKey"));
    EXPECT_TRUE(key.Get(L"", L"NotAKey").exists);
    EXPECT_FALSE(DeleteRegKey(kHkeyCurrentUser, key.Sub(L"Lone"), L"")) << "would be the parent";
    EXPECT_TRUE(key.KeyExists(L"Lone"));

    // Leaf first, as the callers delete trees; the name may be a path below the parent.
    EXPECT_TRUE(DeleteRegKey(kHkeyCurrentUser, key.Path() + L"\\", L"Tree\\Leaf"));
    EXPECT_TRUE(DeleteRegKey(kHkeyCurrentUser, key.Path(), L"Tree"));
    EXPECT_TRUE(DeleteRegKey(kHkeyCurrentUser, key.Path(), L"Lone"));
    EXPECT_FALSE(key.KeyExists(L"Tree"));
    EXPECT_FALSE(key.KeyExists(L"Lone"));
}

TEST_F(ModReg, DeleteValueLeavesTheRestAndIgnoresWhatIsMissing) {
    key.SetString(L"", L"a", L"1");
    key.SetString(L"", L"b", L"2");
    DeleteRegValue(kHkeyCurrentUser, key.Path(), L"a");
    DeleteRegValue(kHkeyCurrentUser, key.Path(), L"missing");
    DeleteRegValue(kHkeyCurrentUser, key.Sub(L"missing"), L"b");
    EXPECT_FALSE(key.Get(L"", L"a").exists);
    EXPECT_TRUE(key.Get(L"", L"b").exists);
}

TEST_F(ModReg, ListHasAnEmptyFirstElement) {
    EXPECT_EQ(EnumRegValues(kHkeyCurrentUser, key.Sub(L"missing")), std::vector<std::wstring>{L""});
    EXPECT_EQ(EnumRegValues(kHkeyCurrentUser, key.Path()), std::vector<std::wstring>{L""});
    key.SetString(L"", L"HKCU:One", L"1");
    key.SetString(L"", L"HKLM:Two", L"2");
    key.SetString(L"", L"", L"default");
    std::vector<std::wstring> names = EnumRegValues(kHkeyCurrentUser, key.Path());
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], L"");
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"", L"", L"HKCU:One", L"HKLM:Two"}));
}

TEST_F(ModReg, ListEndsAtAValueItCannotHandOverWhole) {
    // Windows lists values in the order they were written, Wine by name: the names are chosen
    // so that both orders agree. The values after one with too much data or too long a name
    // are not listed.
    key.SetString(L"", L"a before", L"1");
    const std::vector<BYTE> big(5000, 0x41);
    key.Set(L"", L"b big", REG_BINARY, big.data(), static_cast<DWORD>(big.size()));
    key.SetString(L"", L"c after", L"2");
    EXPECT_EQ(EnumRegValues(kHkeyCurrentUser, key.Path()),
              (std::vector<std::wstring>{L"", L"a before"}));

    TestRegKey longNames(CurrentTestName() + L".names");
    const std::wstring longest = L"a" + std::wstring(254, L'n');
    longNames.SetString(L"", longest, L"1");
    longNames.SetString(L"", L"b" + std::wstring(255, L'm'), L"2");
    longNames.SetString(L"", L"c after", L"3");
    EXPECT_EQ(EnumRegValues(kHkeyCurrentUser, longNames.Path()),
              (std::vector<std::wstring>{L"", longest}));
}

TEST_F(ModReg, AroundFourKilobytesOfDataTheListGoesOn) {
    const std::vector<BYTE> exact(4096, 0x42);
    key.Set(L"", L"a exact", REG_BINARY, exact.data(), static_cast<DWORD>(exact.size()));
    key.SetString(L"", L"b after", L"2");
    EXPECT_EQ(EnumRegValues(kHkeyCurrentUser, key.Path()),
              (std::vector<std::wstring>{L"", L"a exact", L"b after"}));
}

} // namespace
} // namespace vt
