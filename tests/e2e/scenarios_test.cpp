// The uninstaller run from the outside as users meet it: one table of runs over one staging of
// the whole product. Each row says what is staged and running, which boxes come in which order
// (what they say, where the progress stands, how they are answered) and how the run ends;
// what must be gone and what must stay follows from the answers, and every run checks it all:
// the product's files, libraries, groups, shortcuts and keys, every sentinel beside them, the
// user's data and start-up entries, the programs it was asked to end, the window never shown
// in a silent run, the feedback page opened exactly once after an interactive finished run,
// and the uninstaller gone after a finished run or untouched after a declined one.
#include "tests/support/browser.h"
#include "tests/support/capture.h"
#include "tests/support/message_box.h"
#include "tests/support/product.h"
#include "tests/support/running.h"
#include "tests/support/text.h"
#include "uninstall/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>

namespace vt::test {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kFinished = 0;
constexpr DWORD kDeclined = 1602;
constexpr DWORD kRestartOwed = 3010;
constexpr wchar_t kCaption[] = L"Veltrane Uninstaller";
constexpr wchar_t kNoStatus[] = L"...";
constexpr wchar_t kRemovingSettings[] = L"Removing Settings...";
constexpr wchar_t kUninstalling[] = L"Uninstalling Veltrane ...";

struct ExpectedBox {
    std::string name; // says which box a failure is about
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons; // left to right
    int defaultButton = 0;
    BoxIcon icon = BoxIcon::None;
    bool owned = false; // by the main window, which is then visible; no owner otherwise
    std::optional<int> progress;
    std::optional<std::wstring> status;
    int answer = 0;
};

// A box of the run: a Yes/No question, or a message with OK as its default button.
ExpectedBox Box(std::string name, std::wstring caption, std::wstring text, int defaultButton,
                BoxIcon icon, int answer, bool owned = false, std::optional<int> progress = {},
                std::optional<std::wstring> status = {}) {
    return {std::move(name),
            std::move(caption),
            std::move(text),
            defaultButton == IDOK ? std::vector{IDOK} : std::vector{IDYES, IDNO},
            defaultButton,
            icon,
            owned,
            progress,
            std::move(status),
            answer};
}

ExpectedBox Confirmation(int answer) {
    return Box("confirmation", kCaption,
               L"Are you sure you want to completely remove Veltrane and all of its components?",
               IDNO, BoxIcon::Question, answer);
}

// Asked before the window shows.
ExpectedBox Running(const std::wstring& program, int answer) {
    return Box("running " + ToUtf8(program), kCaption,
               L"Uninstall cannot begin.  " + program +
                   L" is currently running. \r\n\r\nIn order " + L"to continue, " + program +
                   L" must be closed. \r\n\r\nTerminate Now?",
               IDYES, BoxIcon::Hand, answer);
}

ExpectedBox KeepSettings(int answer) {
    return Box("keep-settings", kCaption, L"Would you like to Keep your User Settings?", IDYES,
               BoxIcon::Question, answer, true, 13, kNoStatus);
}

ExpectedBox KeepPlugIns(int progress, const wchar_t* status, int answer) {
    return Box("keep-plugins", kCaption, L"Would you like to keep your PlugIns?", IDNO,
               BoxIcon::Question, answer, true, progress, status);
}

// The window is hidden again before the last box.
ExpectedBox Removed(std::optional<int> progress = 180,
                    std::optional<std::wstring> status = kUninstalling) {
    return Box("removed", kCaption, L"Veltrane was successfully removed from your computer.", IDOK,
               BoxIcon::Asterisk, IDOK, false, progress, std::move(status));
}

// The install-log scan could not read the log: its error, in a silent run too.
ExpectedBox CleanUpFailed(long number, const wchar_t* description, int progress) {
    return Box("cleanup", L"CleanUp - " + std::to_wstring(number), description, IDOK, BoxIcon::Hand,
               IDOK, false, progress);
}

ExpectedBox InGerman(ExpectedBox box, std::wstring text) {
    box.caption = L"Veltrane Deinstallation";
    box.text = std::move(text);
    return box;
}

// The fixed texts of the window, in the run's language.
struct WindowTexts {
    const wchar_t* caption;
    const wchar_t* label2;
    const wchar_t* label3;
    const wchar_t* label4;
    const wchar_t* command1;
};
constexpr WindowTexts kEnglish{kCaption, kUninstalling, L"Uninstall Status",
                               L"Please wait while Veltrane is removed from your computer.",
                               L"Cancel"};
constexpr WindowTexts kGerman{
    L"Veltrane Deinstallation", L"Veltrane wird deinstalliert ...", L"Deinstallationsstatus",
    L"Bitte warten Sie, während Veltrane von Ihrem Computer entfernt wird.", L"Abbrechen"};

void CheckBox(const SeenBox& seen, const ExpectedBox& expected, const WindowTexts& texts) {
    EXPECT_EQ(seen.caption, expected.caption);
    EXPECT_EQ(seen.text, expected.text);
    EXPECT_EQ(seen.buttons, expected.buttons);
    EXPECT_EQ(seen.defaultId, expected.defaultButton) << "default button";
    EXPECT_EQ(seen.icon, expected.icon) << "icon";
    EXPECT_EQ(seen.owner, expected.owned ? BoxOwner::MainWindow : BoxOwner::None) << "owner";
    const MainWindowState& main = seen.main;
    ASSERT_TRUE(main.exists) << "the main window is gone while a box is up";
    EXPECT_EQ(main.visible, expected.owned) << "main window visible";
    EXPECT_EQ(main.caption, texts.caption);
    if (main.visible) {
        EXPECT_EQ(
            std::vector({main.label2, main.label3, main.label4, main.command1}),
            std::vector<std::wstring>({texts.label2, texts.label3, texts.label4, texts.command1}));
    }
    if (expected.progress) {
        EXPECT_EQ(std::vector({main.progress, main.progressMin, main.progressMax}),
                  std::vector({*expected.progress, 0, 180}))
            << "progress";
    }
    if (expected.status) {
        EXPECT_EQ(main.label1, *expected.status) << "status line";
        EXPECT_TRUE(main.label1Visible) << "status line visible";
    }
}

struct RunResult {
    std::optional<DWORD> exitCode; // nothing when the program had to be terminated
    bool mainWindowShown = false;
};

// Runs `exe` with `arguments`, answering the boxes in `expected` in order; every difference
// is a test failure. A box that differs but offers the scripted answer is answered as
// scripted, and an unexpected one is refused, so a failing run never hangs. The window's
// picture is saved at each box it shows.
RunResult RunExpectingBoxes(const std::wstring& exe, const std::wstring& arguments,
                            const std::vector<ExpectedBox>& expected, const WindowTexts& texts,
                            const std::wstring& name) {
    WatchedProcess process(exe, arguments);
    BoxDriver driver(process);
    std::size_t next = 0;
    while (std::optional<SeenBox> seen = driver.WaitForNextBox()) {
        int answer = seen->SafestAnswer();
        if (next < expected.size()) {
            const ExpectedBox& wanted = expected[next++];
            SCOPED_TRACE("box: " + wanted.name);
            CheckBox(*seen, wanted, texts);
            answer = seen->HasButton(wanted.answer) ? wanted.answer : answer;
        } else {
            ADD_FAILURE() << "unexpected box " << seen->Describe();
        }
        if (seen->main.visible) {
            SavePng(ArtifactPath(name + L"-box" + std::to_wstring(next) + L".png"),
                    CaptureWindow(process.MainWindow(), process));
        }
        driver.Answer(*seen, answer);
    }
    EXPECT_EQ(next, expected.size()) << "the program ended before its boxes were all shown";
    EXPECT_TRUE(process.WaitForExit(60000)) << "the program did not end after its last box";
    return {process.ExitCode(), process.MainWindowWasShown()};
}

struct Row {
    const char* name;
    const wchar_t* arguments;
    ProductSetup setup;
    std::vector<ExpectedBox> boxes;
    DWORD exitCode;
    std::vector<const wchar_t*> running = {};    // started before the run
    std::vector<const wchar_t*> terminated = {}; // of those, ended by the run
};

void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}

class Run : public testing::TestWithParam<Row> {};

TEST_P(Run, EndsAsTheUserAnswered) {
    const Row& row = GetParam();
    const std::wstring name = CurrentTestName();
    const std::wstring codePage = Environment(L"VT_EXPECT_ACP");
    ASSERT_TRUE(codePage.empty() || codePage == std::to_wstring(GetACP()))
        << "the run's locale is not installed";
    Product product(name, row.setup);
    RunningPrograms programs(name + L"-programs");
    for (const wchar_t* program : row.running) {
        programs.Start(program);
    }
    RecordingBrowser browser(product.Root() + L"\\browser.log");

    const RunResult run = RunExpectingBoxes(product.Uninstaller(), row.arguments, row.boxes,
                                            product.SpeaksGerman() ? kGerman : kEnglish, name);

    const bool finished = row.exitCode != kDeclined; // and ended, with a restart owed or not
    const bool silent = std::wstring_view(row.arguments) == L"silent";
    const auto answered = [&](const char* box, int answer) {
        return std::any_of(row.boxes.begin(), row.boxes.end(), [&](const ExpectedBox& b) {
            return b.name == box && b.answer == answer;
        });
    };
    EXPECT_EQ(run.exitCode, row.exitCode);
    EXPECT_EQ(run.mainWindowShown, finished && !silent) << "main window ever shown";
    product.Check(
        {finished, silent, !answered("keep-settings", IDNO), answered("keep-plugins", IDYES)});
    for (const wchar_t* program : row.running) {
        const bool ended = std::find(row.terminated.begin(), row.terminated.end(), program) !=
                           row.terminated.end();
        EXPECT_EQ(programs.WaitForEnd(program, ended ? 30000 : 0), ended) << ToUtf8(program);
        EXPECT_EQ(programs.ExitCode(program), ended ? std::optional<DWORD>(0) : std::nullopt);
    }
    const std::vector<std::wstring> page(finished && !silent ? 1 : 0,
                                         L"https://www.veltrane.example/uninstall/");
    EXPECT_EQ(browser.Addresses(page.size()), page);
}

std::string RowName(const testing::TestParamInfo<Row>& param) {
    return param.param.name;
}

const LanguageSetup kGermanLoaded{L"GeRmAn", L"VT_GERMAN", true};

INSTANTIATE_TEST_SUITE_P(
    Rows, Run,
    testing::Values(
        // Only the exact word makes the run silent: every family program, and every name
        // ending like one, is ended without a box; the settings and plug-ins stay. A start-up
        // folder at a drive's root gives no programs folder: C:\Veltrane, where "C:" joined to
        // the group would lead, stays.
        Row{"SilentEndsEveryFamilyProgram",
            L"silent",
            {.userData = true, .productKey = true, .startUp = StartUpFolder::DriveRoot},
            {},
            kFinished,
            {L"Veltrane.exe", L"Brendix.exe", L"Tessaly.exe", L"OldVeltrane.exe"},
            {L"Veltrane.exe", L"Brendix.exe", L"Tessaly.exe", L"OldVeltrane.exe"}},
        // Anything like the word asks first; declining changes nothing and looks for no
        // program. A component made for another uninstaller gives the built-in texts.
        Row{"DeclinedChangesNothing",
            L"silent ",
            {.userData = true, .productKey = true, .language = {L"german", L"VT_GERMAN_V2", true}},
            {Confirmation(IDNO)},
            kDeclined,
            {L"Veltrane.exe"}},
        // A refusal to end a program ends the run with nothing removed. A language whose
        // component is missing gives the built-in texts.
        Row{"RefusedTerminationEndsTheRun",
            L"",
            {.language = {L"French"}},
            {Confirmation(IDYES), Running(L"Veltrane", IDYES), Running(L"Tessaly", IDNO)},
            kDeclined,
            {L"Veltrane.exe", L"Tessaly.exe"},
            {L"Veltrane.exe"}},
        // Not keeping the settings removes what there is of the user's data and puts the kept
        // start-up entries back; a name that merely ends like a family program is no family
        // program. "english_uk" in any case is the built-in language, component or not.
        Row{"SettingsAndPlugInsRemoved",
            L"",
            {.userData = true,
             .missingUserFiles = 2,
             .productKey = true,
             .language = {L"ENGLISH_uk", L"VT_GERMAN", true}},
            {Confirmation(IDYES), KeepSettings(IDNO), KeepPlugIns(20, kRemovingSettings, IDNO),
             Removed()},
            kFinished,
            {L"OldVeltrane.exe"}},
        // A component that is not registered gives the built-in texts. A Themes folder
        // without a library stays whole. Installed where installers put it.
        Row{"SettingsKeptStartUpAsInstalled",
            L"",
            {.userData = true,
             .productKey = true,
             .startUp = StartUpFolder::AsInstalled,
             .themeLibraries = false,
             .language = {L"German", L"VT_GERMAN", false},
             .folder = L"C:\\Program Files\\Veltrane"},
            {Confirmation(IDYES), KeepSettings(IDYES), KeepPlugIns(13, kNoStatus, IDNO), Removed()},
            kFinished},
        // Kept plug-ins: the scan deletes nothing. A library hanging in its unregistration is
        // given up on. A subkey the product does not know keeps its key; a file of the
        // component's name that is no component gives the built-in texts.
        Row{"PlugInsKeptLibraryHangs",
            L"",
            {.userData = true,
             .missingUserFiles = 5,
             .productKey = true,
             .otherSubkey = true,
             .startUp = StartUpFolder::Missing,
             .hangingLibrary = true,
             .language = {L"german"}},
            {Confirmation(IDYES), KeepSettings(IDNO), KeepPlugIns(20, kRemovingSettings, IDYES),
             Removed()},
            kFinished},
        // Without the user's data neither keep question is asked. Ending Veltrane.exe ends
        // every name ending so. A locked file and another verb under the file type stay; a
        // theme library held open goes at the restart, which the exit code says is owed.
        Row{"TwoRunningNoUserData",
            L"",
            {.extraVerb = true, .lockedFile = true},
            {Confirmation(IDYES), Running(L"Veltrane", IDYES), Running(L"Tessaly", IDYES),
             Removed()},
            kRestartOwed,
            {L"Veltrane.exe", L"Tessaly.exe", L"OldVeltrane.exe"},
            {L"Veltrane.exe", L"Tessaly.exe", L"OldVeltrane.exe"}},
        // A log another program holds open: the scan's error, in a silent run too; the rest
        // goes. An empty log, or one of random bytes, makes the scan delete nothing.
        Row{"LogHeldOpenSilent",
            L"silent",
            {.log = InstallLog::HeldOpen},
            {CleanUpFailed(70, L"Permission denied", 13)},
            kFinished},
        Row{"EmptyLogSilent", L"silent", {.log = InstallLog::Empty}, {}, kFinished},
        Row{"RandomLogSilent", L"silent", {.log = InstallLog::RandomBytes}, {}, kFinished},
        // Installed into a folder that was there before it (a known folder, a drive's root, or
        // one the log does not name as made), beside the user's own Themes, Languages and
        // PlugIns: the product's files go, the user's stay. An empty log or one of random bytes
        // does not show the folder to be the product's either.
        Row{"InTheDesktop",
            L"",
            {.userData = true, .place = Place::Desktop},
            {Confirmation(IDYES), KeepSettings(IDYES), KeepPlugIns(13, kNoStatus, IDNO), Removed()},
            kFinished},
        Row{"InTheDocumentsPlugInsKept",
            L"",
            {.userData = true, .place = Place::Documents},
            {Confirmation(IDYES), KeepSettings(IDNO), KeepPlugIns(20, kRemovingSettings, IDYES),
             Removed()},
            kFinished},
        Row{"InProgramFilesSilent", L"silent", {.place = Place::ProgramFiles}, {}, kFinished},
        // (Under Wine the root of C: admits no other writer; on Windows any user may add a
        // folder there, and the uninstaller would be left to the restart, with 3010.)
        Row{"AtTheDriveRoot",
            L"",
            {.place = Place::DriveRoot},
            {Confirmation(IDYES), Removed()},
            kFinished},
        Row{"InAFolderThatWasThere",
            L"",
            {.place = Place::ExistingFolder},
            {Confirmation(IDYES), Removed()},
            kFinished},
        // A link in every folder the run deletes, the user's data among them: what it points
        // to stays whole. Wine opens what a link points to even when asked for the link
        // itself: there the link, and the folder that holds it, stay.
        Row{"LinksInEveryDeletedFolder",
            L"",
            {.userData = true, .links = true},
            {Confirmation(IDYES), KeepSettings(IDNO), KeepPlugIns(20, kRemovingSettings, IDNO),
             Removed()},
            kFinished},
        // Every box and label in the product's language, set in any case; the component the
        // run speaks through goes at the restart.
        Row{"InGerman",
            L"",
            {.userData = true, .language = kGermanLoaded},
            {InGerman(Confirmation(IDYES), L"Möchten Sie Veltrane und alle zugehörigen "
                                           L"Komponenten wirklich vollständig entfernen?"),
             InGerman(Running(L"Brendix", IDYES),
                      L"Die Deinstallation kann nicht beginnen.  Brendix wird gerade ausgeführt. "
                      L"\r\n\r\nUm fortzufahren, muss Brendix geschlossen werden. \r\n\r\nJetzt "
                      L"beenden?"),
             InGerman(KeepSettings(IDNO), L"Möchten Sie Ihre Benutzereinstellungen behalten?"),
             InGerman(KeepPlugIns(20, L"Einstellungen werden entfernt...", IDNO),
                      L"Möchten Sie Ihre Plug-ins behalten?"),
             InGerman(Removed(180, L"Veltrane wird deinstalliert ..."),
                      L"Veltrane wurde erfolgreich von Ihrem Computer entfernt.")},
            kRestartOwed,
            {L"Brendix.exe"},
            {L"Brendix.exe"}},
        // Planted programs and libraries beside the uninstaller and in the current folder are
        // never used; the batch of a parent folder only administrators may write is called.
        Row{"AmongPlants",
            L"",
            {.parent = ParentBatch::Trusted, .plants = true},
            {Confirmation(IDYES), Removed()},
            kFinished},
        // A batch in a parent folder anyone may write is never called; a read-only uninstaller
        // still removes itself.
        Row{"ReadOnlyBelowAWorldWritableFolder",
            L"silent",
            {.parent = ParentBatch::WorldWritable, .readOnlyUninstaller = true},
            {},
            kFinished},
        // In a folder anyone may write, nothing there steers the elevated run: no library's
        // code runs (the registered component's neither: the run speaks English), the log
        // names nothing outside the folder, and the system deletes the uninstaller at the
        // restart. A library anyone may write, in a closed folder, goes unregistered.
        Row{"InAFolderAnyoneMayWrite",
            L"",
            {.language = kGermanLoaded, .open = Openness::Folder},
            {Confirmation(IDYES), Removed()},
            kRestartOwed},
        Row{"OneLibraryAnyoneMayWrite", L"silent", {.open = Openness::OneLibrary}, {}, kFinished},
        // A folder beyond ASCII, run once per code page; one the code page cannot carry, which
        // the batch names by its short form.
        Row{"BeyondAscii", L"silent", {.place = Place::InCodePage}, {}, kFinished},
        Row{"BeyondTheCodePage", L"silent", {.place = Place::BeyondCodePage}, {}, kFinished}),
    RowName);

// A second copy started while one runs asks nothing and changes nothing, and ends with 1618;
// started by a user, it brings the running copy's question to the front. A copy that was
// killed holds no lock any more, even while another process keeps the lock's name open.
TEST(SecondCopy, DoesNothingWhileOneRuns) {
    Product product(CurrentTestName(), {});
    RecordingBrowser browser(product.Root() + L"\\browser.log");
    const UniqueHandle lockName(CreateMutexW(nullptr, FALSE, kSingleCopyName));
    {
        WatchedProcess killed(product.Uninstaller(), L"");
        ASSERT_TRUE(BoxDriver(killed).WaitForNextBox());
    }
    WatchedProcess first(product.Uninstaller(), L"");
    BoxDriver driver(first);
    const std::optional<SeenBox> confirmation = driver.WaitForNextBox();
    ASSERT_TRUE(confirmation);
    const TreeSnapshot before = Snapshot(product.Root());
    // The user went on with something else meanwhile.
    const UniqueWindow elsewhere(CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE,
                                                 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr));
    for (const wchar_t* arguments : {L"silent", L""}) {
        SCOPED_TRACE(ToUtf8(arguments));
        SetForegroundWindow(elsewhere.get());
        WatchedProcess second(product.Uninstaller(), arguments);
        ASSERT_TRUE(second.WaitForExit(60000));
        EXPECT_EQ(second.ExitCode(), 1618u);
        EXPECT_FALSE(second.MainWindowWasShown());
        // The running copy takes the activation the second one hands over in its own time.
        EXPECT_EQ(PollUntil([&] { return GetForegroundWindow() == confirmation->window; },
                            *arguments ? 0 : 30000),
                  *arguments == L'\0');
    }
    EXPECT_EQ(Snapshot(product.Root()), before);
    driver.Answer(*confirmation, IDYES);
    const std::optional<SeenBox> removed = driver.WaitForNextBox();
    ASSERT_TRUE(removed);
    driver.Answer(*removed, IDOK);
    ASSERT_TRUE(first.WaitForExit(60000));
    EXPECT_EQ(first.ExitCode(), kFinished);
    product.Check({});
    EXPECT_EQ(browser.Addresses(1).size(), 1u);
}

} // namespace
} // namespace vt::test
