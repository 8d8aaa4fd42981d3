// The system services against the real system: the registry module in a key of the test's own,
// processes by name on real processes, the error box that ends a failed run, and window icons.
#include "system/mIcon.h"
#include "system/mProcess.h"
#include "system/modReg.h"
#include "tests/support/running.h"
#include "tests/support/text.h"
#include "tests/windows/helpers.h"
#include "uninstall/form1.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

using namespace std::string_literals;
using namespace test;

// Each row is stored raw (REG_NONE: not at all) and read back as text: the first string, or
// all of them joined, or the default where no string is stored.
TEST(ModReg, ReadGivesTheFirstStringOrTheDefault) {
    const TestRegKey key(CurrentTestName());
    const struct {
        DWORD type;
        std::wstring data;
        bool joined;
        std::wstring expected;
    } cases[] = {{REG_NONE, L"", false, L"<default>"},
                 {REG_SZ, L"", false, L"<default>"},
                 {REG_SZ, L"\0"s, false, L""},
                 {REG_DWORD, L"\x7\0"s, false, L""},
                 {REG_EXPAND_SZ, L"%TEMP%\0"s, false, L""},
                 {REG_SZ, L"C:\\a b\0"s, false, L"C:\\a b"},
                 {REG_SZ, L"abc", false, L"abc"},
                 {REG_MULTI_SZ, L"a\0b\0\0"s, false, L"a"},
                 {REG_MULTI_SZ, L"a\0b\0\0"s, true, L"a b"},
                 {REG_MULTI_SZ, L" x\0\0y \0\0"s, true, L"x  y"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::wstring name = L"v" + std::to_wstring(i);
        if (c.type != REG_NONE) {
            key.Set(L"", name, c.type, c.data.data(), static_cast<DWORD>(c.data.size() * 2));
        }
        EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, key.Path(), name, L"<default>", c.joined),
                  c.expected)
            << "row " << i;
    }
    EXPECT_EQ(ReadRegValue(kHkeyCurrentUser, key.Sub(L"missing"), L"v1", L"<none>"), L"<none>");
}

// Numbers are stored as DWORDs, rounded half to even; numbers outside 32 bits raise overflow
// and store nothing; text is stored trimmed, with its NUL.
TEST(ModReg, WriteStoresNumbersAsDwordsAndTextTrimmed) {
    const TestRegKey key(CurrentTestName());
    const struct {
        std::wstring value;
        DWORD type;
        std::wstring stored; // REG_DWORD: the number
    } cases[] = {{L"2.5", REG_DWORD, L"2"},
                 {L"3.5", REG_DWORD, L"4"},
                 {L"-1", REG_DWORD, L"4294967295"},
                 {L"2147483647", REG_DWORD, L"2147483647"},
                 {L"2147483648", REG_NONE, L""},
                 {L"-2147483649", REG_NONE, L""},
                 {L"  C:\\run.exe /x  ", REG_SZ, L"C:\\run.exe /x\0"s}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::wstring name = L"v" + std::to_wstring(i);
        const ErrorInfo error = ErrorOf(
            [&] { WriteRegValue(kHkeyCurrentUser, key.Sub(L"new\\deeper"), name, c.value); });
        EXPECT_EQ(error.number, c.type == REG_NONE ? long{kErrOverflow} : 0L) << "row " << i;
        const TestRegKey::Stored stored = key.Get(L"new\\deeper", name);
        EXPECT_EQ(stored.type, c.type) << "row " << i;
        EXPECT_EQ(c.type == REG_DWORD ? std::to_wstring(stored.Dword()) : stored.Text(), c.stored)
            << "row " << i;
    }
}

// Keys go one at a time, leaf first: never a key with subkeys, never the parent itself. Each
// root answers for the empty path, and asking twice shows that the root was not closed.
TEST(ModReg, KeysExistAndGoLeafFirstValuesGoAlone) {
    const TestRegKey key(CurrentTestName());
    key.CreateSubKey(L"Tree\\Leaf");
    key.SetString(L"", L"a", L"1");
    key.SetString(L"", L"b", L"2");
    for (const RegRoot root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine}) {
        EXPECT_TRUE(RegKeyExists(root, L"") && RegKeyExists(root, L"")) << std::hex << root;
    }
    EXPECT_FALSE(RegKeyExists(kHkeyCurrentUser, key.Sub(L"missing")));
    EXPECT_FALSE(DeleteRegKey(kHkeyCurrentUser, key.Path(), L"Tree")) << "it has a subkey";
    EXPECT_FALSE(DeleteRegKey(kHkeyCurrentUser, key.Path(), L"a")) << "a value is no key";
    EXPECT_FALSE(DeleteRegKey(kHkeyCurrentUser, key.Sub(L"Tree\\Leaf"), L"")) << "the parent";
    EXPECT_TRUE(key.KeyExists(L"Tree\\Leaf"));
    EXPECT_TRUE(DeleteRegKey(kHkeyCurrentUser, key.Path() + L"\\", L"Tree\\Leaf"));
    EXPECT_TRUE(DeleteRegKey(kHkeyCurrentUser, key.Path(), L"Tree"));
    EXPECT_FALSE(RegKeyExists(kHkeyCurrentUser, key.Sub(L"Tree")));
    DeleteRegValue(kHkeyCurrentUser, key.Path(), L"a");
    DeleteRegValue(kHkeyCurrentUser, key.Sub(L"missing"), L"b");
    EXPECT_FALSE(key.Get(L"", L"a").exists);
    EXPECT_TRUE(key.Get(L"", L"b").exists);
}

// The list starts with an empty element and ends at a value it cannot hand over whole. Windows
// lists values in the order they were written, Wine by name: where the list ends early the
// names are chosen so that both orders agree.
TEST(ModReg, ValueListEndsAtAValueItCannotHandOverWhole) {
    const std::wstring longest = L"a" + std::wstring(254, L'n');
    const struct {
        std::vector<std::pair<std::wstring, std::size_t>> values; // name, bytes (0: a string)
        std::vector<std::wstring> listed;                         // after the first, sorted
    } cases[] = {
        {{}, {L""}},
        {{{L"HKCU:One", 0}, {L"", 0}}, {L"", L"", L"HKCU:One"}},
        {{{L"a before", 0}, {L"b big", 5000}, {L"c after", 0}}, {L"", L"a before"}},
        {{{L"a exact", 4096}, {L"b after", 0}}, {L"", L"a exact", L"b after"}},
        {{{longest, 0}, {L"b" + std::wstring(255, L'm'), 0}, {L"c after", 0}}, {L"", longest}}};
    EXPECT_EQ(EnumRegValues(kHkeyCurrentUser, L"Software\\VtTests\\missing"), cases[0].listed);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const TestRegKey own(CurrentTestName() + std::to_wstring(i));
        for (const auto& [name, bytes] : cases[i].values) {
            const std::vector<BYTE> data(std::max<std::size_t>(bytes, 4), 0x41);
            own.Set(L"", name, bytes ? REG_BINARY : REG_SZ, data.data(),
                    static_cast<DWORD>(data.size()));
        }
        std::vector<std::wstring> names = EnumRegValues(kHkeyCurrentUser, own.Path());
        std::sort(names.begin() + (names.empty() ? 0 : 1), names.end());
        EXPECT_EQ(names, cases[i].listed) << "row " << i;
    }
}

// Copies of the idle program run under the names of the product's programs, under a longer
// name that merely ends like one of them, and under seventy more names: more processes than the
// first buffers hold, every one of which must be looked at.
TEST(Processes, FoundAndEndedByTheirWholeFileNameOnly) {
    RunningPrograms running(L"processes");
    for (const wchar_t* name : {L"Veltrane.exe", L"Brendix.exe", L"OldVeltrane.exe"}) {
        running.Start(name);
    }
    for (int i = 0; i < 70; ++i) {
        running.Start(L"Filler" + std::to_wstring(i) + L".exe");
    }
    for (const wchar_t* name :
         {L"Veltrane.exe", L"  vELTRANE.exe  ", L" BRENDIX.EXE", L"Filler0.exe", L"Filler69.exe"}) {
        EXPECT_TRUE(IsProcessRunning(name)) << ToUtf8(name);
    }
    // Only an ending, no extension, a path (never a last piece).
    for (const wchar_t* name : {L"ltrane.exe", L"Veltrane", L"Veltrane.exe.exe",
                                L"Old Veltrane.exe", L"", L"C:\\vt-tests\\Veltrane.exe"}) {
        EXPECT_FALSE(IsProcessRunning(name)) << ToUtf8(name);
    }
    // Nothing that does not run, never the caller itself; then every name with that ending.
    for (const wchar_t* name :
         {L"Veltrane.exe ", L"XOldVeltrane.exe", L"", L"vt_windows_tests.exe"}) {
        EXPECT_FALSE(KillProcess(name)) << ToUtf8(name);
    }
    EXPECT_TRUE(KillProcess(L"veltrane.EXE") && KillProcess(L"Filler69.exe"));
    for (const wchar_t* ended : {L"Veltrane.exe", L"OldVeltrane.exe", L"Filler69.exe"}) {
        EXPECT_TRUE(running.WaitForEnd(ended, 30000)) << ToUtf8(ended); // against hangs only
    }
    EXPECT_TRUE(running.IsRunning(L"Brendix.exe") && running.IsRunning(L"Filler68.exe"));
}

// A run that fails shows the error box (an empty title: "Setup/Uninstall") and then closes as
// a finished run does, so the run's unload follows: silent, so that it opens no page. A run
// that finishes shows none.
TEST(ErrorBox, AFailedRunShowsItThenClosesWithTagOk) {
    const std::pair<std::function<void(Form1&, long&)>, std::wstring> cases[] = {
        {[](Form1& form, long& line) {
             form.Create();
             line = 14;
             Raise(kErrOverflow);
         },
         L"Overflow\r\nErr No: 6\r\nErr Source: VT_Uninstall : Form_Load : 14"},
        {[](Form1&, long&) { throw std::bad_alloc(); },
         L"Out of memory\r\nErr No: 7\r\nErr Source: VT_Uninstall : Form_Load : 0"}};
    for (const auto& [body, text] : cases) {
        std::tuple<RunOutcome, std::wstring, HWND> ended;
        const std::vector<SeenBox> boxes = testing::BoxesOf(
            [&] {
                Form1 form(GetModuleHandleW(nullptr));
                form.SilentMode = true;
                const RunOutcome outcome = form.RunGuarded([&](long& line) { body(form, line); });
                ended = {outcome, form.Tag, form.hWnd()};
            },
            {IDOK});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, L"Setup/Uninstall");
        EXPECT_EQ(boxes[0].text, L"An error has been detected:\r\n\r\nErr Description: " + text);
        EXPECT_EQ(boxes[0].icon, BoxIcon::Hand);
        EXPECT_EQ(ended, std::tuple(RunOutcome::Failed, std::wstring(L"OK"), HWND{}));
    }
    EXPECT_EQ(ExitCodeFor(RunOutcome::Failed), 1603);
    Form1 form(GetModuleHandleW(nullptr));
    EXPECT_EQ(form.RunGuarded([](long& line) { line = 28; }), RunOutcome::Finished);
    EXPECT_EQ(form.Tag, L"");
}

// The icon resource named by its number goes to the window and to its top owner (not to the
// owners between), each in the system's two sizes; a name no icon has gives none.
TEST(SetIcon, TheWindowAndItsTopOwnerGetBothSizes) {
    std::vector<UniqueWindow> windows; // top, middle, window, owned top, owned, alone
    for (int owner : {-1, 0, 1, -1, 3, -1}) {
        windows.emplace_back(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9,
                                             owner < 0 ? nullptr : windows[owner].get(), nullptr,
                                             nullptr, nullptr));
    }
    SetIcon(windows[2].get(), "1", true);
    SetIcon(windows[4].get(), "1", false);
    SetIcon(windows[5].get(), "77", true);
    SetIcon(windows[5].get(), "NoSuchIcon", true);
    const int big = GetSystemMetrics(SM_CXICON), small = GetSystemMetrics(SM_CXSMICON);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const bool given = i == 0 || i == 2 || i == 4;
        for (const auto& [which, width] :
             {std::pair(ICON_BIG, big), std::pair(ICON_SMALL, small)}) {
            ICONINFO info{};
            const HICON icon =
                reinterpret_cast<HICON>(SendMessageW(windows[i].get(), WM_GETICON, which, 0));
            BITMAP bitmap{};
            if (icon && GetIconInfo(icon, &info)) {
                const UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
                GetObjectW(mask.get(), sizeof bitmap, &bitmap);
            }
            EXPECT_EQ(bitmap.bmWidth, given ? width : 0) << "window " << i;
        }
    }
}

} // namespace
} // namespace vt
