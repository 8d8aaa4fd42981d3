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
    const std::wstring two = L"a\0b\0\0"s;
    key.Set(L"", L"two", REG_MULTI_SZ, two.data(), static_cast<DWORD>(two.size() * 2));
    const std::wstring withEmpty = L" x\0\0y \0\0"s;
    key.Set(L"", L"withEmpty", REG_MULTI_SZ, withEmpty.data(),
            static_cast<DWORD>(withEmpty.size() * 2));

    struct Case {
        const char* what;
        std::wstring subKey;
        std::wstring value;
        std::wstring expected;
        bool joinMultiStrings = false;
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
        {"REG_MULTI_SZ: the first", key.Path(), L"two", L"a"},
        {"REG_MULTI_SZ joined", key.Path(), L"two", L"a b", true},
        {"REG_MULTI_SZ with an empty string", key.Path(), L"withEmpty", L" x"},
        {"REG_MULTI_SZ with an empty string, joined", key.Path(), L"withEmpty", L"x  y", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            ReadRegValue(kHkeyCurrentUser, c.subKey, c.value, L"<default>", c.joinMultiStrings),
            c.expected)
            << c.what;
    }
    EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, key.Path(), L"missing"), L"") << "no default given";
}

// Numbers are stored as DWORDs, rounded half to even; numbers outside 32 bits raise
// overflow and store nothing (type REG_NONE here); text is stored trimmed.
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
        {L"2147483647", REG_DWORD, L"", 2147483647},
        {L"2147483648", REG_NONE, L"", 0},
        {L"-2147483649", REG_NONE, L"", 0},
        {L"1e10", REG_NONE, L"", 0},
        {L"  C:\\Tools\\run.exe /x  ", REG_SZ, L"C:\\Tools\\run.exe /x\0"s, 0},
        {L"", REG_SZ, L"\0"s, 0},
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.value));
        const std::wstring name = L"v" + std::to_wstring(i++);
        const ErrorInfo error = test::ErrorOf(
            [&] { WriteRegValue(kHkeyCurrentUser, key.Sub(L"new\\deeper"), name, c.value); });
        EXPECT_EQ(error.number, c.type == REG_NONE ? long{kErrOverflow} : 0L);
        const TestRegKey::Stored stored = key.Get(L"new\\deeper", name);
        EXPECT_EQ(stored.type, c.type);
        if (c.type == REG_SZ) {
            EXPECT_EQ(stored.Text(), c.text) << "NUL-terminated, blanks trimmed";
        } else if (c.type == REG_DWORD) {
            EXPECT_EQ(stored.Dword(), c.number);
        }
    }
    WriteRegValue(kHkeyCurrentUser, key.Path(), L"number", 3.5);
    EXPECT_EQ(key.Get(L"", L"number").Dword(), 4u);
}

TEST_F(ModReg, KeysExistForEveryRootWithAnEmptyPath) {
    for (const RegRoot root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine}) {
        EXPECT_TRUE(RegKeyExists(root, L"")) << std::hex << root;
        // Asking twice shows that the root was not closed by the first answer.
        EXPECT_TRUE(RegKeyExists(root, L"")) << std::hex << root;
    }
    EXPECT_TRUE(RegKeyExists(kHkeyCurrentUser, key.Path()));
    EXPECT_FALSE(RegKeyExists(kHkeyCurrentUser, key.Sub(L"missing")));
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

// The list starts with an empty element. Windows lists values in the order they were written,
// Wine by name: where the list ends early the names are chosen so that both orders agree.
TEST_F(ModReg, ListHasAnEmptyFirstElementAndEndsAtAValueItCannotHandOverWhole) {
    struct Value {
        std::wstring name;
        std::size_t binaryBytes; // 0: a short REG_SZ
    };
    const std::wstring longest = L"a" + std::wstring(254, L'n');
    const struct {
        const char* what;
        std::vector<Value> values;
        std::vector<std::wstring> listed; // after the first, sorted
    } cases[] = {
        {"no values", {}, {L""}},
        {"the default value among others",
         {{L"HKCU:One", 0}, {L"HKLM:Two", 0}, {L"", 0}},
         {L"", L"", L"HKCU:One", L"HKLM:Two"}},
        {"5000 bytes of data end the list",
         {{L"a before", 0}, {L"b big", 5000}, {L"c after", 0}},
         {L"", L"a before"}},
        {"4096 bytes of data do not",
         {{L"a exact", 4096}, {L"b after", 0}},
         {L"", L"a exact", L"b after"}},
        {"a name of 256 characters ends the list",
         {{longest, 0}, {L"b" + std::wstring(255, L'm'), 0}, {L"c after", 0}},
         {L"", longest}},
    };
    EXPECT_EQ(EnumRegValues(kHkeyCurrentUser, key.Sub(L"missing")), std::vector<std::wstring>{L""});
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TestRegKey own(CurrentTestName() + L"." + std::to_wstring(i++));
        for (const Value& v : c.values) {
            const std::vector<BYTE> data(v.binaryBytes, 0x41);
            if (data.empty()) {
                own.SetString(L"", v.name, L"1");
            } else {
                own.Set(L"", v.name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
            }
        }
        std::vector<std::wstring> names = EnumRegValues(kHkeyCurrentUser, own.Path());
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names[0], L"");
        std::sort(names.begin() + 1, names.end());
        EXPECT_EQ(names, c.listed);
    }
}

} // namespace
} // namespace vt
