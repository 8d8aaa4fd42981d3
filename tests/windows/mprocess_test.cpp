// Processes by name, against real processes: copies of the idle program run under the names
// of the product's programs, and under a longer name that merely ends like one of them.
#include "system/mProcess.h"
#include "tests/support/fixtures.h"
#include "tests/support/running.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt {
namespace {

using test::RunningPrograms;

// Hang protection only: a terminated process ends at once.
constexpr DWORD kEndWithinMs = 30000;

class ProductProcesses : public testing::Test {
  protected:
    void SetUp() override {
        for (const wchar_t* name :
             {L"Veltrane.exe", L"Brendix.exe", L"Tessaly.exe", L"OldVeltrane.exe"}) {
            running.Start(name);
        }
    }
    RunningPrograms running{L"mprocess-" + test::CurrentTestName()};
};

TEST_F(ProductProcesses, RunningTestComparesWholeFileNames) {
    const struct {
        const wchar_t* argument;
        bool found;
    } cases[] = {
        {L"Veltrane.exe", true},
        {L"  vELTRANE.exe  ", true}, // spaces around and other capitalisation
        {L"TESSALY.EXE", true},
        {L" brendix.exe", true},
        {L"OldVeltrane.exe", true},
        {L"ltrane.exe", false}, // only an ending of a running name
        {L"Veltrane", false},   // without the extension
        {L"Veltrane.ex", false},
        {L"Old Veltrane.exe", false},
        {L"Veltrane.exe.exe", false},
        {L"", false},
        {L"   ", false},
        {L"Missing.exe", false},
        {L"C:\\vt-tests\\Veltrane.exe", false}, // a path is never a last path piece
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsProcessRunning(c.argument), c.found)
            << "\"" << testing::PrintToString(std::wstring(c.argument)) << "\"";
    }
}

TEST_F(ProductProcesses, TerminationTakesEveryNameWithThatEnding) {
    EXPECT_TRUE(KillProcess(L"veltrane.EXE"));
    for (const wchar_t* ended : {L"Veltrane.exe", L"OldVeltrane.exe"}) {
        ASSERT_TRUE(running.WaitForEnd(ended, kEndWithinMs))
            << testing::PrintToString(std::wstring(ended));
        EXPECT_EQ(running.ExitCode(ended), 0u);
    }
    EXPECT_TRUE(running.IsRunning(L"Brendix.exe"));
    EXPECT_TRUE(running.IsRunning(L"Tessaly.exe"));
    EXPECT_FALSE(IsProcessRunning(L"Veltrane.exe"));
    EXPECT_TRUE(IsProcessRunning(L"Brendix.exe"));
}

TEST_F(ProductProcesses, TerminationOfWhatDoesNotRunIsFalseAndTakesNothing) {
    // A name that differs by a space at the end, or that is longer than every running name,
    // matches nothing; the empty name must not stand for every process, and the caller never
    // ends itself.
    for (const wchar_t* name :
         {L"Missing.exe", L"Veltrane.exe ", L"XOldVeltrane.exe", L"", L"vt_windows_tests.exe"}) {
        EXPECT_FALSE(KillProcess(name)) << testing::PrintToString(std::wstring(name));
    }
    for (const wchar_t* name :
         {L"Veltrane.exe", L"Brendix.exe", L"Tessaly.exe", L"OldVeltrane.exe"}) {
        EXPECT_TRUE(running.IsRunning(name)) << testing::PrintToString(std::wstring(name));
    }
}

// With more processes than the first buffers hold (16 bytes, then doubled), every one of them
// must still be looked at: each copy has a name of its own and each must be found.
TEST(ManyProcesses, EveryProcessIsInspected) {
    RunningPrograms running(L"mprocess-many");
    std::vector<std::wstring> names;
    for (int i = 0; i < 70; ++i) {
        names.push_back(L"Filler" + std::to_wstring(i) + L".exe");
        running.Start(names.back());
    }
    int found = 0;
    for (const std::wstring& name : names) {
        found += IsProcessRunning(name) ? 1 : 0;
    }
    EXPECT_EQ(found, 70);
    EXPECT_TRUE(KillProcess(L"Filler69.exe"));
    EXPECT_TRUE(running.WaitForEnd(L"Filler69.exe", kEndWithinMs));
}

} // namespace
} // namespace vt
