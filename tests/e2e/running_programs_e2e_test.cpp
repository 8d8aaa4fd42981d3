// The check for running programs of the family, with real processes: copies of the idle
// program run as Veltrane.exe, Brendix.exe, Tessaly.exe and OldVeltrane.exe while the
// uninstaller runs, and the boxes are answered as a user would.
#include "tests/e2e/run_boxes.h"
#include "tests/support/fixtures.h"
#include "tests/support/running.h"
#include "tests/support/staging.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <vector>

namespace vt::test {
namespace {

// Hang protection only.
constexpr DWORD kEndWithinMs = 30000;
constexpr DWORD kSelfRemovalWithinMs = 60000;

struct Scenario {
    const char* name;
    std::wstring arguments;
    std::vector<std::wstring> running; // started before the uninstaller
    std::vector<ExpectedBox> boxes;
    DWORD exitCode;
    std::vector<std::wstring> terminated; // ended by the uninstaller, exit code 0
    std::vector<std::wstring> untouched;  // still running when the uninstaller has ended
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

class FamilyCheck : public testing::TestWithParam<Scenario> {};

TEST_P(FamilyCheck, AreDealtWithAsTheUserAnswers) {
    const Scenario& scenario = GetParam();
    const std::wstring name = CurrentTestName();
    StagedProduct product(name, StageOptions{});
    RunningPrograms programs(name + L"-programs");
    for (const std::wstring& program : scenario.running) {
        programs.Start(program);
    }
    const TreeSnapshot before = Snapshot(product.ProgramFolder());

    const RunResult run =
        RunExpectingBoxes(product.Uninstaller(), scenario.arguments, scenario.boxes, name);

    EXPECT_EQ(run.exitCode, scenario.exitCode);
    for (const std::wstring& program : scenario.terminated) {
        SCOPED_TRACE(ToUtf8(program));
        EXPECT_TRUE(programs.WaitForEnd(program, kEndWithinMs)) << "still running";
        EXPECT_EQ(programs.ExitCode(program), 0u);
    }
    for (const std::wstring& program : scenario.untouched) {
        EXPECT_TRUE(programs.IsRunning(program)) << ToUtf8(program) << " was terminated";
    }
    if (scenario.exitCode == kRunFinished) {
        EXPECT_TRUE(product.WaitForSelfRemoval(kSelfRemovalWithinMs))
            << "the uninstaller did not remove itself";
    } else {
        // A refusal ends the program with nothing removed: the uninstaller stays, no batch.
        EXPECT_EQ(Snapshot(product.ProgramFolder()), before) << "program folder changed";
    }
}

std::string ScenarioName(const testing::TestParamInfo<Scenario>& param) {
    return param.param.name;
}

const std::vector<std::wstring> kAll = {L"Veltrane.exe", L"Brendix.exe", L"Tessaly.exe"};

INSTANTIATE_TEST_SUITE_P(
    Runs, FamilyCheck,
    testing::Values(
        // A name that merely ends like a family program's is not taken for it.
        Scenario{"NoneRunning",
                 L"",
                 {L"OldVeltrane.exe"},
                 {Confirmation(IDYES), Removed()},
                 kRunFinished,
                 {},
                 {L"OldVeltrane.exe"}},
        // Terminating Veltrane.exe takes every name ending so.
        Scenario{"TwoRunningYesToBoth",
                 L"",
                 {L"Veltrane.exe", L"Tessaly.exe", L"OldVeltrane.exe"},
                 {Confirmation(IDYES), ProgramRunning(L"Veltrane", IDYES),
                  ProgramRunning(L"Tessaly", IDYES), Removed()},
                 kRunFinished,
                 {L"Veltrane.exe", L"Tessaly.exe", L"OldVeltrane.exe"},
                 {}},
        // A No ends the run: the program it was asked about keeps running.
        Scenario{"YesThenNo",
                 L"",
                 {L"Veltrane.exe", L"Tessaly.exe"},
                 {Confirmation(IDYES), ProgramRunning(L"Veltrane", IDYES),
                  ProgramRunning(L"Tessaly", IDNO)},
                 kRunDeclined,
                 {L"Veltrane.exe"},
                 {L"Tessaly.exe"}},
        // Declining the removal itself looks for no program at all.
        Scenario{"DeclinedFirst",
                 L"",
                 {L"Veltrane.exe"},
                 {Confirmation(IDNO)},
                 kRunDeclined,
                 {},
                 {L"Veltrane.exe"}},
        Scenario{"SilentAllTerminatedWithoutBox", L"silent", kAll, {}, kRunFinished, kAll, {}}),
    ScenarioName);

} // namespace
} // namespace vt::test
