// The uninstaller run from the outside: which boxes a user meets in which order, what they
// say, where the progress stands at each, and how the run ends.
#include "tests/e2e/scenario.h"
#include "tests/support/staging.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace vt::test {
namespace {

constexpr wchar_t kCaption[] = L"Veltrane Uninstaller";
constexpr wchar_t kNoStatus[] = L"...";
constexpr wchar_t kRemovingSettings[] = L"Removing Settings...";
constexpr wchar_t kRemovingRegistry[] = L"Removing Registry Entries...";
constexpr DWORD kFinished = 0;
constexpr DWORD kDeclined = 1602;

// The boxes of the run, as a user meets them.
ExpectedBox Confirmation(int answer) {
    return {"confirmation",
            kCaption,
            L"Are you sure you want to completely remove Veltrane and all of its components?",
            {IDYES, IDNO},
            IDNO,
            BoxIcon::Question,
            BoxOwner::None,
            /*mainVisible=*/false,
            std::nullopt,
            std::nullopt,
            answer};
}

ExpectedBox KeepSettings(int answer) {
    ExpectedBox box{"keep-settings",
                    kCaption,
                    L"Would you like to Keep your User Settings?",
                    {IDYES, IDNO},
                    IDYES,
                    BoxIcon::Question,
                    BoxOwner::MainWindow,
                    /*mainVisible=*/true,
                    13,
                    kNoStatus,
                    answer};
    box.capture = true;
    return box;
}

ExpectedBox KeepPlugIns(int progress, const wchar_t* status, int answer) {
    return {"keep-plugins",
            kCaption,
            L"Would you like to keep your PlugIns?",
            {IDYES, IDNO},
            IDNO,
            BoxIcon::Question,
            BoxOwner::MainWindow,
            /*mainVisible=*/true,
            progress,
            status,
            answer};
}

// The window is hidden again before the last box, so the box has no owner.
ExpectedBox Removed(int progress, const wchar_t* status) {
    return {"removed",
            kCaption,
            L"Veltrane was successfully removed from your computer.",
            {IDOK},
            IDOK,
            BoxIcon::Asterisk,
            BoxOwner::None,
            /*mainVisible=*/false,
            progress,
            status,
            IDOK};
}

struct Scenario {
    const char* name;
    std::wstring arguments;
    StageOptions stage;
    std::vector<ExpectedBox> boxes;
    DWORD exitCode;
    bool windowShown;
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

std::string CurrentTestName() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return std::string(test->test_suite_name()) + "." + test->name();
}

class UninstallRun : public testing::TestWithParam<Scenario> {};

TEST_P(UninstallRun, MeetsTheExpectedBoxesAndEnds) {
    const Scenario& scenario = GetParam();
    const std::wstring name = FileNameFrom(CurrentTestName());
    StagedProduct product(name, scenario.stage);
    const TreeSnapshot programBefore = Snapshot(product.ProgramFolder());
    const TreeSnapshot userDataBefore = Snapshot(product.UserDataFolder());

    const RunResult run =
        RunExpectingBoxes(product.Uninstaller(), scenario.arguments, scenario.boxes, name);

    EXPECT_EQ(run.exitCode, scenario.exitCode);
    EXPECT_EQ(run.mainWindowShown, scenario.windowShown) << "main window ever shown";
    if (scenario.exitCode == kDeclined) {
        EXPECT_EQ(Snapshot(product.ProgramFolder()), programBefore) << "program folder changed";
        EXPECT_EQ(Snapshot(product.UserDataFolder()), userDataBefore) << "user data changed";
    }
    // The user's data goes exactly when the user does not keep the settings.
    const bool settingsRemoved =
        std::any_of(scenario.boxes.begin(), scenario.boxes.end(), [](const ExpectedBox& box) {
            return box.name == "keep-settings" && box.answer == IDNO;
        });
    if (settingsRemoved) {
        EXPECT_TRUE(Snapshot(product.UserDataFolder()).empty()) << "user data left behind";
        EXPECT_EQ(GetFileAttributesW(product.UserDataFolder().c_str()), INVALID_FILE_ATTRIBUTES);
    } else {
        EXPECT_EQ(Snapshot(product.UserDataFolder()), userDataBefore) << "user data changed";
    }
}

std::string ScenarioName(const testing::TestParamInfo<Scenario>& param) {
    return param.param.name;
}

constexpr StageOptions kBare{};
constexpr StageOptions kUserData{.userData = true};
constexpr StageOptions kEverything{.userData = true, .plugIns = true};

// Only the exact word makes the run silent; anything like it asks first.
INSTANTIATE_TEST_SUITE_P(
    SilentArgument, UninstallRun,
    testing::Values(
        // Nothing is asked even where a user would be asked about settings and plug-ins.
        Scenario{"Silent", L"silent", kEverything, {}, kFinished, false},
        Scenario{"UpperCase", L"SILENT", kEverything, {Confirmation(IDNO)}, kDeclined, false},
        Scenario{"Slash", L"/silent", kEverything, {Confirmation(IDNO)}, kDeclined, false},
        Scenario{"TrailingBlank", L"silent ", kEverything, {Confirmation(IDNO)}, kDeclined, false}),
    ScenarioName);

INSTANTIATE_TEST_SUITE_P(Confirmation, UninstallRun,
                         testing::Values(Scenario{"DeclinedChangesNothing",
                                                  L"",
                                                  kEverything,
                                                  {Confirmation(IDNO)},
                                                  kDeclined,
                                                  false},
                                         Scenario{"AcceptedWithoutUserData",
                                                  L"",
                                                  kBare,
                                                  {Confirmation(IDYES), Removed(13, kNoStatus)},
                                                  kFinished,
                                                  true}),
                         ScenarioName);

INSTANTIATE_TEST_SUITE_P(
    KeepQuestions, UninstallRun,
    testing::Values(
        Scenario{"SettingsKept",
                 L"",
                 kUserData,
                 {Confirmation(IDYES), KeepSettings(IDYES), Removed(15, kRemovingRegistry)},
                 kFinished,
                 true},
        Scenario{"SettingsRemoved",
                 L"",
                 kUserData,
                 {Confirmation(IDYES), KeepSettings(IDNO), Removed(22, kRemovingRegistry)},
                 kFinished,
                 true},
        Scenario{"SettingsKeptPlugInsAsked",
                 L"",
                 kEverything,
                 {Confirmation(IDYES), KeepSettings(IDYES), KeepPlugIns(13, kNoStatus, IDYES),
                  Removed(15, kRemovingRegistry)},
                 kFinished,
                 true},
        Scenario{"SettingsRemovedPlugInsAsked",
                 L"",
                 kEverything,
                 {Confirmation(IDYES), KeepSettings(IDNO), KeepPlugIns(20, kRemovingSettings, IDNO),
                  Removed(22, kRemovingRegistry)},
                 kFinished,
                 true},
        // The plug-ins question is one of the settings questions: without user data neither
        // is asked.
        Scenario{"PlugInsWithoutUserData",
                 L"",
                 StageOptions{.plugIns = true},
                 {Confirmation(IDYES), Removed(13, kNoStatus)},
                 kFinished,
                 true}),
    ScenarioName);

// Not keeping the settings deletes whichever of the five files are there and then the folder
// with anything else in it; the bar moves by the same steps however many files were missing.
struct AbsentFiles {
    const char* name;
    std::vector<std::wstring> absent;
};

void PrintTo(const AbsentFiles& files, std::ostream* out) {
    *out << files.name;
}

class SettingsRemovedWith : public testing::TestWithParam<AbsentFiles> {};

TEST_P(SettingsRemovedWith, DeletesWhatIsThereAndMovesTheBarAlike) {
    const std::wstring name = FileNameFrom(CurrentTestName());
    StagedProduct product(name, kUserData);
    for (const std::wstring& file : GetParam().absent) {
        ASSERT_TRUE(std::filesystem::remove(product.UserDataFolder() + L"\\" + file)) << "staged";
    }
    // Something of the user's own in the folder goes with it.
    std::filesystem::create_directories(product.UserDataFolder() + L"\\Backups");

    const RunResult run = RunExpectingBoxes(
        product.Uninstaller(), L"",
        {Confirmation(IDYES), KeepSettings(IDNO), Removed(22, kRemovingRegistry)}, name);

    EXPECT_EQ(run.exitCode, kFinished);
    EXPECT_EQ(GetFileAttributesW(product.UserDataFolder().c_str()), INVALID_FILE_ATTRIBUTES)
        << "the user data folder is still there";
}

INSTANTIATE_TEST_SUITE_P(
    KeepSettingsNo, SettingsRemovedWith,
    testing::Values(AbsentFiles{"SomeFilesMissing", {L"CookieInfo.ini", L"Recent.dat"}},
                    AbsentFiles{"AllFilesMissing",
                                {L"Settings.ini", L"CookieInfo.ini", L"Stats.ini", L"Recent.dat",
                                 L"Uninstall.info"}}),
    [](const testing::TestParamInfo<AbsentFiles>& param) { return std::string(param.param.name); });

} // namespace
} // namespace vt::test
