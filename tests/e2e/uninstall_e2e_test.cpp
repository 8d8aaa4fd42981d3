// The uninstaller run from the outside: which boxes a user meets in which order, what they
// say, where the progress stands at each, and how the run ends.
#include "system/handles.h"
#include "tests/e2e/run_boxes.h"
#include "tests/support/fixtures.h"
#include "tests/support/text.h"
#include "tests/support/installed_product.h"
#include "tests/support/running.h"
#include "tests/support/staging.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

namespace vt::test {
namespace {

// Hang protection only.
constexpr DWORD kSelfRemovalWithinMs = 60000;

struct Scenario {
    const char* name;
    std::wstring arguments;
    StageOptions stage;
    std::vector<ExpectedBox> boxes;
    DWORD exitCode;
    bool windowShown;
    // Files of the five missing from the user data, which then also holds a folder of the
    // user's own: not keeping the settings deletes what is there and the folder with it.
    std::vector<std::wstring> absent = {};
    // A whole installed product around the uninstaller, and what the run must remove of it.
    std::optional<InstallOptions> install = {};
    RemovalChoices removal = {};
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

class UninstallRun : public testing::TestWithParam<Scenario> {};

TEST_P(UninstallRun, MeetsTheExpectedBoxesAndEnds) {
    const Scenario& scenario = GetParam();
    const std::wstring name = CurrentTestName();
    StagedProduct product(name, scenario.stage);
    for (const std::wstring& file : scenario.absent) {
        ASSERT_TRUE(std::filesystem::remove(product.UserDataFolder() + L"\\" + file)) << "staged";
    }
    if (!scenario.absent.empty()) {
        std::filesystem::create_directories(product.UserDataFolder() + L"\\Backups");
    }
    std::optional<InstalledProduct> installed;
    if (scenario.install) {
        installed.emplace(product, *scenario.install);
    }
    const TreeSnapshot programBefore = Snapshot(product.ProgramFolder());
    const TreeSnapshot userDataBefore = Snapshot(product.UserDataFolder());

    const RunResult run =
        RunExpectingBoxes(product.Uninstaller(), scenario.arguments, scenario.boxes, name);
    if (installed) {
        installed->ExpectRemoved(scenario.removal);
    }

    EXPECT_EQ(run.exitCode, scenario.exitCode);
    EXPECT_EQ(run.mainWindowShown, scenario.windowShown) << "main window ever shown";
    if (scenario.exitCode == kRunFinished) {
        EXPECT_TRUE(product.WaitForSelfRemoval(kSelfRemovalWithinMs))
            << "the uninstaller did not remove itself";
    }
    if (scenario.exitCode == kRunDeclined) {
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

constexpr StageOptions kUserData{.userData = true};
constexpr StageOptions kEverything{.userData = true, .plugIns = true};

constexpr StageOptions kPlugInsOnly{.plugIns = true};
const std::vector<std::wstring> kAllFive = {L"Settings.ini", L"CookieInfo.ini", L"Stats.ini",
                                            L"Recent.dat", L"Uninstall.info"};

// Only the exact word makes the run silent: nothing is asked even where a user would be asked
// about settings and plug-ins. Anything like it asks first (the other spellings are checked
// without a run).
INSTANTIATE_TEST_SUITE_P(
    SilentOrDeclined, UninstallRun,
    testing::Values(
        Scenario{"Silent", L"silent", kEverything, {}, kRunFinished, false},
        Scenario{
            "TrailingBlank", L"silent ", kEverything, {Confirmation(IDNO)}, kRunDeclined, false},
        Scenario{
            "DeclinedChangesNothing", L"", kEverything, {Confirmation(IDNO)}, kRunDeclined, false}),
    ScenarioName);

// The keep questions. The plug-ins question is one of the settings questions: without user data
// neither is asked. Not keeping the settings moves the bar by the same steps however many of the
// five files were missing. Both questions asked, each answered both ways, with a whole product
// to remove: below.
INSTANTIATE_TEST_SUITE_P(
    KeepQuestions, UninstallRun,
    testing::Values(Scenario{"PlugInsWithoutUserData",
                             L"",
                             kPlugInsOnly,
                             {Confirmation(IDYES), Removed(180, kUninstalling)},
                             kRunFinished,
                             true},
                    Scenario{
                        "SettingsKept",
                        L"",
                        kUserData,
                        {Confirmation(IDYES), KeepSettings(IDYES), Removed(180, kUninstalling)},
                        kRunFinished,
                        true},
                    Scenario{"SettingsRemovedSomeFilesMissing",
                             L"",
                             kUserData,
                             {Confirmation(IDYES), KeepSettings(IDNO), Removed(180, kUninstalling)},
                             kRunFinished,
                             true,
                             {L"CookieInfo.ini", L"Recent.dat"}},
                    Scenario{"SettingsRemovedAllFilesMissing",
                             L"",
                             kUserData,
                             {Confirmation(IDYES), KeepSettings(IDNO), Removed(180, kUninstalling)},
                             kRunFinished,
                             true,
                             kAllFive}),
    ScenarioName);

// A whole installed product goes, and nothing beside it: plug-ins stay when kept (the scan then
// deletes nothing) or in a silent run, a library that hangs in its unregistration is given up
// on, a locked file and another verb under the file type stay, a link in a deleted folder goes
// as a link, and a log that another program holds open shows the scan's error, in a silent run
// too, before the rest goes; an empty log or one of random bytes removes nothing, and does not
// show the program folder to be the product's. Installed into a folder that was there before,
// with the user's own Themes, Languages and PlugIns, the product's files go and the user's stay.
INSTANTIATE_TEST_SUITE_P(
    ProductRemoval, UninstallRun,
    testing::Values(
        Scenario{"SettingsAndPlugInsRemoved",
                 L"",
                 kUserData,
                 {Confirmation(IDYES), KeepSettings(IDNO), KeepPlugIns(20, kRemovingSettings, IDNO),
                  Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{}},
        Scenario{"SettingsKeptStartUpAsInstalled",
                 L"",
                 kUserData,
                 {Confirmation(IDYES), KeepSettings(IDYES), KeepPlugIns(13, kNoStatus, IDNO),
                  Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{.startUp = StartUpFolder::AsInstalled}},
        Scenario{"PlugInsKeptLibraryHangs",
                 L"",
                 kUserData,
                 {Confirmation(IDYES), KeepSettings(IDNO),
                  KeepPlugIns(20, kRemovingSettings, IDYES), Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{.startUp = StartUpFolder::Missing, .hangingLibrary = true},
                 {.keepPlugIns = true}},
        Scenario{"SilentStartUpAtDriveRoot",
                 L"silent",
                 kUserData,
                 {},
                 kRunFinished,
                 false,
                 {},
                 InstallOptions{.startUp = StartUpFolder::DriveRoot},
                 {.silent = true}},
        Scenario{"ExtraVerbAndLockedFile",
                 L"",
                 {},
                 {Confirmation(IDYES), Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{.extraVerb = true, .lockedFile = true}},
        Scenario{"LogHeldOpenSilent",
                 L"silent",
                 {},
                 {CleanUpFailed(70, L"Permission denied", 13)},
                 kRunFinished,
                 false,
                 {},
                 InstallOptions{.log = InstallLog::HeldOpen},
                 {.silent = true}},
        Scenario{"LinksInEveryDeletedFolder",
                 L"",
                 kUserData,
                 {Confirmation(IDYES), KeepSettings(IDYES), KeepPlugIns(13, kNoStatus, IDNO),
                  Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{.links = true}},
        Scenario{"EmptyLogSilent",
                 L"silent",
                 {},
                 {},
                 kRunFinished,
                 false,
                 {},
                 InstallOptions{.log = InstallLog::Empty},
                 {.silent = true}},
        Scenario{"RandomLogSilent",
                 L"silent",
                 {},
                 {},
                 kRunFinished,
                 false,
                 {},
                 InstallOptions{.log = InstallLog::RandomBytes},
                 {.silent = true}},
        Scenario{"InTheDesktop",
                 L"",
                 {.userData = true, .place = ProgramPlace::Desktop},
                 {Confirmation(IDYES), KeepSettings(IDYES), KeepPlugIns(13, kNoStatus, IDNO),
                  Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{}},
        Scenario{"InTheDocumentsPlugInsKept",
                 L"",
                 {.userData = true, .place = ProgramPlace::Documents},
                 {Confirmation(IDYES), KeepSettings(IDNO),
                  KeepPlugIns(20, kRemovingSettings, IDYES), Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{},
                 {.keepPlugIns = true}},
        Scenario{"InProgramFilesSilent",
                 L"silent",
                 {.place = ProgramPlace::ProgramFiles},
                 {},
                 kRunFinished,
                 false,
                 {},
                 InstallOptions{},
                 {.silent = true}},
        Scenario{"AtTheDriveRoot",
                 L"",
                 {.place = ProgramPlace::DriveRoot},
                 {Confirmation(IDYES), Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{}},
        Scenario{"InAFolderThatWasThere",
                 L"",
                 {.place = ProgramPlace::ExistingFolder},
                 {Confirmation(IDYES), Removed(180, kUninstalling)},
                 kRunFinished,
                 true,
                 {},
                 InstallOptions{}}),
    ScenarioName);

// A link in the user's data folder to a folder outside the product: not keeping the settings
// removes the link as a link, and what it points to stays whole. Wine opens what a link points
// to even when asked for the link itself: there the link, and the folder that holds it, stay.
TEST(UserDataWithALink, WhatTheLinkPointsToStaysWhole) {
    const std::wstring name = CurrentTestName();
    StagedProduct product(name, kUserData);
    const TestFolder outside(name + L"-outside");
    outside.File(L"keep\\a.txt");
    const TreeSnapshot before = Snapshot(outside.Path());
    const TestLink link(product.UserDataFolder() + L"\\Linked", outside.Path());

    const RunResult run = RunExpectingBoxes(
        product.Uninstaller(), L"", {Confirmation(IDYES), KeepSettings(IDNO), Removed()}, name);
    EXPECT_EQ(run.exitCode, kRunFinished);
    EXPECT_EQ(Snapshot(outside.Path()), before);
    EXPECT_EQ(IsThere(link.Path()), UnderWine());
    EXPECT_EQ(IsThere(product.UserDataFolder()), UnderWine());
}

// A product installed in a folder whose name goes beyond ASCII, in the script that the run's
// ANSI code page carries (the installer writes its log in it): Cyrillic under 1251, Japanese
// under 932 (with a character whose second byte is a backslash), accented Latin otherwise.
// Everything goes, the uninstaller too. The test runs once per code page, VT_EXPECT_ACP naming
// the one its locale must give.
TEST(HostilePaths, ProductInAFolderBeyondAscii) {
    const std::wstring expected = Environment(L"VT_EXPECT_ACP");
    if (!expected.empty()) {
        ASSERT_EQ(std::to_wstring(GetACP()), expected) << "the run's locale is not installed";
    }
    const UINT codePage = GetACP();
    const std::wstring folder = codePage == 1251
                                    ? L"\u0412\u0435\u043b\u044c\u0442\u0440\u0430\u043d"
                                : codePage == 932 ? L"\u30bd\u30d5\u30c8\u8a2d\u5b9a"
                                                  : L"V\u00e9ltrane \u00dcn\u00efcode";
    const std::wstring name = CurrentTestName();
    StagedProduct product(name + L"-" + folder, StageOptions{});
    InstalledProduct installed(product, {});
    const RunResult run = RunExpectingBoxes(product.Uninstaller(), L"silent", {}, name);
    EXPECT_EQ(run.exitCode, kRunFinished);
    EXPECT_TRUE(product.WaitForSelfRemoval(kSelfRemovalWithinMs)) << "the uninstaller stayed";
    installed.ExpectRemoved({.silent = true});
}

// The product's own registry key as the product leaves it: its language, its settings and the
// start-up entries it set aside. Made before the run; whatever the run leaves (and the entries
// it writes into the start-up lists) goes again at the end.
class ProductKey {
  public:
    static constexpr wchar_t kKey[] = L"Software\\Veltrane";
    static constexpr wchar_t kUserRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr wchar_t kMachineRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const wchar_t* kWrittenBack[] = {L"VtE2eTool", L"VtE2eMachine", L"VtE2eNumber",
                                                      L"VtE2eLost"};

    ProductKey() {
        Clean();
        Set(L"", L"Language", L"German");
        Set(L"Settings", L"Theme", L"Dark");
        Set(L"Schedule", L"Daily", L"1");
        Set(L"StartUp", L"HKCU:Vt E2e Tool", L"\"C:\\Tools\\tool.exe\" /min");
        Set(L"StartUp", L"hklm:VtE2eMachine", L"C:\\m.exe");
        Set(L"StartUp", L"STAR:VtE2eNumber", L"42");
        Set(L"StartUp", L"HKCR:VtE2eLost", L"lost");
    }
    ~ProductKey() { Clean(); }
    ProductKey(const ProductKey&) = delete;
    ProductKey& operator=(const ProductKey&) = delete;

    static void Set(const std::wstring& sub, const wchar_t* name, const std::wstring& text) {
        const std::wstring key =
            sub.empty() ? std::wstring(kKey) : std::wstring(kKey) + L"\\" + sub;
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    struct Value {
        DWORD type = REG_NONE;
        std::wstring text;
        DWORD number = 0;
    };
    static std::optional<Value> Read(HKEY root, const wchar_t* key, const wchar_t* name) {
        BYTE data[1024] = {};
        DWORD bytes = sizeof data - sizeof(wchar_t);
        Value value;
        if (RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, data, &bytes) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        if (value.type == REG_DWORD) {
            std::memcpy(&value.number, data, sizeof value.number);
        } else {
            value.text = reinterpret_cast<const wchar_t*>(data);
        }
        return value;
    }
    static bool Exists(const std::wstring& sub) {
        UniqueRegKey opened;
        return RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kKey) + sub).c_str(), 0, KEY_READ,
                             opened.put()) == ERROR_SUCCESS;
    }

  private:
    static void Clean() {
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
        for (const wchar_t* name : kWrittenBack) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserRun, name);
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kMachineRun, name);
        }
    }
};

// Not keeping the settings puts every entry with a known tag back into its start-up list and
// deletes the product's key; the bar moves 7 steps for it. The language the key names has a
// file of its component's name that is no component: the texts stay built in.
TEST(ProductKeyRemoval, StartUpEntriesGoBackAndTheKeyGoes) {
    const std::wstring name = CurrentTestName();
    StagedProduct product(name, kUserData);
    ProductKey key;
    std::filesystem::create_directories(product.ProgramFolder() + L"\\Languages");
    std::ofstream(std::filesystem::path(product.ProgramFolder() + L"\\Languages\\german.dll"))
        << "not a component";

    const RunResult run = RunExpectingBoxes(
        product.Uninstaller(), L"",
        {Confirmation(IDYES), KeepSettings(IDNO), Removed(180, kUninstalling)}, name);
    EXPECT_EQ(run.exitCode, kRunFinished);

    EXPECT_FALSE(ProductKey::Exists(L"")) << "the product's key is still there";
    const auto tool = ProductKey::Read(HKEY_CURRENT_USER, ProductKey::kUserRun, L"VtE2eTool");
    ASSERT_TRUE(tool) << "HKCU: entry, blanks dropped from its name";
    EXPECT_EQ(tool->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(tool->text, L"\"C:\\Tools\\tool.exe\" /min");
    const auto machine =
        ProductKey::Read(HKEY_LOCAL_MACHINE, ProductKey::kMachineRun, L"VtE2eMachine");
    ASSERT_TRUE(machine) << "hklm: entry, tag in lower case";
    EXPECT_EQ(machine->text, L"C:\\m.exe");
    const auto number = ProductKey::Read(HKEY_CURRENT_USER, ProductKey::kUserRun, L"VtE2eNumber");
    ASSERT_TRUE(number) << "STAR: entry";
    EXPECT_EQ(number->type, static_cast<DWORD>(REG_DWORD)) << "numeric text goes back as a number";
    EXPECT_EQ(number->number, 42u);
    EXPECT_FALSE(ProductKey::Read(HKEY_CURRENT_USER, ProductKey::kUserRun, L"VtE2eLost"));
    EXPECT_FALSE(ProductKey::Read(HKEY_LOCAL_MACHINE, ProductKey::kMachineRun, L"VtE2eLost"));
}

// Keeping the settings leaves the key alone; a further subkey of the product's own keeps the
// key even when the settings go, while its three known subkeys go.
TEST(ProductKeyRemoval, KeptSettingsOrAnUnknownSubkeyKeepTheKey) {
    const std::wstring name = CurrentTestName();
    {
        StagedProduct product(name, kUserData);
        ProductKey key;
        const RunResult run = RunExpectingBoxes(
            product.Uninstaller(), L"",
            {Confirmation(IDYES), KeepSettings(IDYES), Removed(180, kUninstalling)}, name);
        EXPECT_EQ(run.exitCode, kRunFinished);
        EXPECT_TRUE(ProductKey::Exists(L"\\StartUp"));
        EXPECT_TRUE(ProductKey::Exists(L"\\Settings"));
        EXPECT_FALSE(ProductKey::Read(HKEY_CURRENT_USER, ProductKey::kUserRun, L"VtE2eTool"));
    }
    StagedProduct product(name + L"-other", kUserData);
    ProductKey key;
    ProductKey::Set(L"Other", L"x", L"y");
    const RunResult run = RunExpectingBoxes(
        product.Uninstaller(), L"",
        {Confirmation(IDYES), KeepSettings(IDNO), Removed(180, kUninstalling)}, name);
    EXPECT_EQ(run.exitCode, kRunFinished);
    EXPECT_TRUE(ProductKey::Exists(L"\\Other"));
    for (const wchar_t* sub : {L"\\Settings", L"\\Schedule", L"\\StartUp"}) {
        EXPECT_FALSE(ProductKey::Exists(sub)) << testing::PrintToString(std::wstring(sub));
    }
}

// The product's language component in its Languages folder, registered as the product's
// installer registers it when asked; nothing when no build is named.
std::unique_ptr<RegisteredComponent> InstallComponent(const StagedProduct& product,
                                                      const wchar_t* build, bool registered) {
    const std::wstring library = product.ProgramFolder() + L"\\Languages\\german.dll";
    std::filesystem::create_directories(product.ProgramFolder() + L"\\Languages");
    if (build) {
        std::filesystem::copy_file(Environment(build), library);
    }
    return build && registered ? std::make_unique<RegisteredComponent>(library) : nullptr;
}

ExpectedBox InGerman(ExpectedBox box, const std::wstring& text) {
    box.caption = L"Veltrane Deinstallation";
    box.text = text;
    return box;
}

// The product set to German (in any case) with its component: every box and label in German.
TEST(LanguageRun, EveryBoxAndLabelInGerman) {
    const std::wstring name = CurrentTestName();
    StagedProduct product(name, kEverything);
    ProductKey key;
    ProductKey::Set(L"", L"Language", L"GeRmAn");
    const auto german = InstallComponent(product, L"VT_GERMAN", true);
    RunningPrograms programs(name + L"-programs");
    programs.Start(L"Brendix.exe");

    const RunResult run = RunExpectingBoxes(
        product.Uninstaller(), L"",
        {InGerman(Confirmation(IDYES), L"Möchten Sie Veltrane und alle zugehörigen Komponenten "
                                       L"wirklich vollständig entfernen?"),
         InGerman(ProgramRunning(L"Brendix", IDYES),
                  L"Die Deinstallation kann nicht beginnen.  Brendix wird gerade ausgeführt. "
                  L"\r\n\r\nUm fortzufahren, muss Brendix geschlossen werden. \r\n\r\nJetzt "
                  L"beenden?"),
         InGerman(KeepSettings(IDNO), L"Möchten Sie Ihre Benutzereinstellungen behalten?"),
         InGerman(KeepPlugIns(20, L"Einstellungen werden entfernt...", IDNO),
                  L"Möchten Sie Ihre Plug-ins behalten?"),
         InGerman(Removed(180, L"Veltrane wird deinstalliert ..."),
                  L"Veltrane wurde erfolgreich von Ihrem Computer entfernt.")},
        name);
    EXPECT_EQ(run.exitCode, kRunFinished);
    const MainWindowState& window = run.boxes.at(2).main;
    EXPECT_EQ(window.label2, L"Veltrane wird deinstalliert ...");
    EXPECT_EQ(window.label3, L"Deinstallationsstatus");
    EXPECT_EQ(window.label4,
              L"Bitte warten Sie, während Veltrane von Ihrem Computer entfernt wird.");
    EXPECT_EQ(window.command1, L"Abbrechen");
    // The component is loaded until the end of the run: it and its folder go at the restart.
    constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";
    std::wstring pending(4096, L'\0');
    DWORD bytes = static_cast<DWORD>(pending.size() * sizeof(wchar_t));
    RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"PendingFileRenameOperations",
                 RRF_RT_REG_MULTI_SZ, nullptr, pending.data(), &bytes);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"PendingFileRenameOperations");
    for (const wchar_t* left : {L"\\Languages\\german.dll", L"\\Languages"}) {
        const std::wstring entry = L"\\??\\" + product.ProgramFolder() + left + L'\0';
        EXPECT_NE(pending.find(entry), std::wstring::npos) << ToUtf8(left);
    }
}

// Each way of not having a usable component gives the built-in texts, without a word.
TEST(LanguageRun, NoUsableComponentMeansTheBuiltInTexts) {
    const struct {
        const wchar_t* setting;
        const wchar_t* build; // nullptr: no component file
        bool registered;
    } cases[] = {
        {L"german", L"VT_GERMAN_V2", true}, // a component made for another uninstaller
        {L"german", nullptr, false},
        {L"German", L"VT_GERMAN", false},
        {L"ENGLISH_uk", L"VT_GERMAN", true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const std::wstring name = CurrentTestName() + L"-" + std::to_wstring(i);
        StagedProduct product(name, {});
        ProductKey key;
        ProductKey::Set(L"", L"Language", cases[i].setting);
        const auto component = InstallComponent(product, cases[i].build, cases[i].registered);
        const RunResult run =
            RunExpectingBoxes(product.Uninstaller(), L"", {Confirmation(IDNO)}, name);
        EXPECT_EQ(run.exitCode, kRunDeclined);
    }
}

} // namespace
} // namespace vt::test
