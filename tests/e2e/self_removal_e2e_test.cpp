// The farewell after a run, for real: the batch deletes the uninstaller and itself once the
// uninstaller has ended, and the feedback page goes to the web browser of the session, here a
// program that writes down what it is asked to open.
#include "tests/e2e/run_boxes.h"
#include "tests/support/fixtures.h"
#include "tests/support/installed_product.h"
#include "tests/support/browser.h"
#include "tests/support/process.h"
#include "tests/support/running.h"
#include "tests/support/staging.h"
#include "tests/support/text.h"
#include "uninstall/form1_layout.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vt::test {

namespace {

namespace fs = std::filesystem;

// Hang protection only.
constexpr DWORD kSelfRemovalWithinMs = 60000;

// No run of these tests may open a real browser: every address goes to a recorder, for the
// whole test program. Tests that count the addresses register one of their own over it.
class RecorderForAllRuns : public testing::Environment {
  public:
    void SetUp() override {
        browser_ = std::make_unique<RecordingBrowser>(ArtifactPath(L"browser.log"));
    }
    void TearDown() override { browser_.reset(); }

  private:
    std::unique_ptr<RecordingBrowser> browser_;
};
[[maybe_unused]] testing::Environment* const kRecorderForAllRuns =
    testing::AddGlobalTestEnvironment(new RecorderForAllRuns);

constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kWineOverrides[] = L"Software\\Wine\\DllOverrides";
constexpr const wchar_t* kOverridden[] = {L"uxtheme", L"comctl32"};

// A cmd.exe, regsvr32.exe, uxtheme.dll and comctl32.dll of the tests' own, planted beside the
// uninstaller and in the current folder, each first shown to be taken by a program without the
// guards. Wine is told to prefer a library beside a program to its own, as Windows does, and the
// old search order looks in the current folder before the system folder. version.dll is not
// planted: Wine's own user32 imports it (Windows' does not), so Wine would load a planted one
// before the program's first instruction. At the end, none may have run or been loaded.
class Plants {
  public:
    Plants(const std::wstring& programFolder, const std::wstring& name) : current_(name + L"-cd") {
        SetCurrentDirectoryW(current_.Path().c_str());
        for (const wchar_t* library : kOverridden) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kWineOverrides, library, REG_SZ, L"n,b",
                            sizeof L"n,b");
        }
        const DWORD unsafe = 0;
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"SafeDllSearchMode", REG_DWORD,
                        &unsafe, sizeof unsafe);
        for (const std::wstring& folder : {programFolder, current_.Path()}) {
            for (const auto& [file, source] : {std::pair{L"\\cmd.exe", L"VT_PLANT"},
                                               {L"\\regsvr32.exe", L"VT_PLANT"},
                                               {L"\\uxtheme.dll", L"VT_PLANTED_LIBRARY"},
                                               {L"\\comctl32.dll", L"VT_PLANTED_LIBRARY"}}) {
                plants_.push_back(folder + file);
                fs::copy_file(Environment(source), plants_.back());
            }
        }
        // Loaded by name by a program beside them and, from the current folder, by one
        // elsewhere; a program named without its folder is taken from the current folder. The
        // planted registration tool beside the uninstaller works when started.
        const std::wstring libraries = L"uxtheme.dll comctl32.dll";
        for (const auto& [exe, arguments] : {std::pair{plants_[0], libraries},
                                             {plants_[1], std::wstring()},
                                             {Environment(L"VT_PLANT"), libraries},
                                             {std::wstring(L"cmd.exe"), std::wstring()},
                                             {std::wstring(L"regsvr32.exe"), std::wstring()}}) {
            EXPECT_TRUE(WatchedProcess(exe, arguments).WaitForExit(kSelfRemovalWithinMs));
        }
        fs::remove(Environment(L"VT_PLANT") + L".ran");
        for (const std::wstring& plant : plants_) {
            EXPECT_TRUE(fs::remove(plant + L".ran")) << ToUtf8(plant) << " does not work";
        }
    }
    ~Plants() {
        for (const std::wstring& plant : plants_) {
            EXPECT_FALSE(fs::exists(plant + L".ran")) << ToUtf8(plant) << " was used";
        }
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"SafeDllSearchMode");
        for (const wchar_t* library : kOverridden) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kWineOverrides, library);
        }
        SetCurrentDirectoryW(before_.c_str());
    }
    Plants(const Plants&) = delete;
    Plants& operator=(const Plants&) = delete;

  private:
    std::wstring before_ = fs::current_path().wstring();
    TestFolder current_;
    std::vector<std::wstring> plants_;
};

// A batch "clearup.bat" in the folder above the program folder, which writes down that it ran.
enum class ParentBatch {
    None,
    Trusted,       // nobody but the trusted may write in that folder: the batch calls it
    WorldWritable, // anyone may: it is never called, whoever put it there
};

struct Farewell {
    const char* name;
    std::wstring arguments;
    std::vector<ExpectedBox> boxes;
    DWORD exitCode;
    bool selfRemoved;
    std::vector<std::wstring> addresses; // handed to the browser
    // A program folder whose name the ANSI code page cannot carry: the batch names it by its
    // short form and still deletes the right file.
    bool folderBeyondCodePage = false;
    bool amongPlants = false;
    ParentBatch parent = ParentBatch::None;
    bool readOnlyUninstaller = false; // the batch's loop would never delete it
};

void PrintTo(const Farewell& farewell, std::ostream* out) {
    *out << farewell.name;
}

class SelfRemoval : public testing::TestWithParam<Farewell> {};

TEST_P(SelfRemoval, DeletesTheUninstallerAndSaysFarewell) {
    const Farewell& farewell = GetParam();
    const std::wstring name = CurrentTestName();
    // Cyrillic, or where the code page has that, Devanagari.
    const std::wstring beyond = GetACP() == 1251 ? L"\u0935\u0947\u0932" : L"\u0412\u0435\u043b";
    StagedProduct product(name + (farewell.folderBeyondCodePage ? beyond : L""), StageOptions{});
    RecordingBrowser browser(ArtifactPath(name + L"-browser.log"));
    std::optional<Plants> plants;
    // Among plants, the product is installed whole: its libraries go to the registration tool.
    std::optional<InstalledProduct> installed;
    if (farewell.amongPlants) {
        plants.emplace(product.ProgramFolder(), name);
        installed.emplace(product, InstallOptions{});
    }
    const std::wstring parentRan = product.Root() + L"\\clearup.ran";
    if (farewell.parent != ParentBatch::None) {
        WriteTestFile(product.Root() + L"\\clearup.bat",
                      "@echo ran>\"" + ToUtf8(parentRan) + "\"\r\n");
    }
    if (farewell.parent == ParentBatch::WorldWritable) {
        // Under Wine this is the folder's Unix mode made o+rwx.
        PSECURITY_DESCRIPTOR anyoneWrites = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(A;OICI;FA;;;WD)", SDDL_REVISION_1, &anyoneWrites, nullptr));
        EXPECT_TRUE(
            SetFileSecurityW(product.Root().c_str(), DACL_SECURITY_INFORMATION, anyoneWrites));
        LocalFree(anyoneWrites);
    }
    if (farewell.readOnlyUninstaller) {
        SetFileAttributesW(product.Uninstaller().c_str(), FILE_ATTRIBUTE_READONLY);
    }

    const RunResult run =
        RunExpectingBoxes(product.Uninstaller(), farewell.arguments, farewell.boxes, name);
    EXPECT_EQ(run.exitCode, farewell.exitCode);

    if (farewell.selfRemoved) {
        EXPECT_TRUE(product.WaitForSelfRemoval(kSelfRemovalWithinMs))
            << "the uninstaller or its batch is still there";
    } else {
        EXPECT_TRUE(fs::exists(product.Uninstaller())) << "the uninstaller is gone";
        EXPECT_FALSE(fs::exists(product.ClearupBatch())) << "a batch was written";
    }
    EXPECT_EQ(browser.Addresses(), farewell.addresses);
    EXPECT_EQ(fs::exists(parentRan), farewell.parent == ParentBatch::Trusted)
        << "whether the parent folder's batch ran";
    EXPECT_EQ(fs::exists(product.Root() + L"\\clearup.bat"), farewell.parent != ParentBatch::None);
    if (installed) {
        installed->ExpectRemoved({});
    }
}

std::string FarewellName(const testing::TestParamInfo<Farewell>& param) {
    return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SelfRemoval,
    testing::Values(Farewell{"InteractiveAmongPlants",
                             L"",
                             {Confirmation(IDYES), Removed()},
                             kRunFinished,
                             true,
                             {kFeedbackPage},
                             false,
                             true,
                             ParentBatch::Trusted},
                    Farewell{
                        "SilentBeyondTheCodePage", L"silent", {}, kRunFinished, true, {}, true},
                    Farewell{"SilentReadOnlyBelowAWorldWritableFolder",
                             L"silent",
                             {},
                             kRunFinished,
                             true,
                             {},
                             false,
                             false,
                             ParentBatch::WorldWritable,
                             true},
                    Farewell{"Declined", L"", {Confirmation(IDNO)}, kRunDeclined, false, {}}),
    FarewellName);

// A second copy started while one runs asks nothing and changes nothing, and ends with 1618;
// started by a user, it brings the running copy's question to the front. A copy that was killed
// holds no lock any more, even while another process keeps the lock's name open.
TEST(SecondCopy, DoesNothingWhileOneRuns) {
    const std::wstring name = CurrentTestName();
    StagedProduct product(name, StageOptions{});
    InstalledProduct installed(product, InstallOptions{});
    RecordingBrowser browser(ArtifactPath(name + L"-browser.log"));
    const UniqueHandle lockName(CreateMutexW(nullptr, FALSE, kSingleCopyName));
    {
        WatchedProcess killed(product.Uninstaller(), L"");
        ASSERT_TRUE(BoxDriver(killed).WaitForNextBox());
        killed.Terminate();
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
        ASSERT_EQ(GetForegroundWindow(), elsewhere.get());
        WatchedProcess second(product.Uninstaller(), arguments);
        ASSERT_TRUE(second.WaitForExit(kSelfRemovalWithinMs));
        EXPECT_EQ(second.ExitCode(), 1618u);
        EXPECT_FALSE(second.MainWindowWasShown());
        EXPECT_EQ(GetForegroundWindow() == confirmation->window, *arguments == L'\0');
    }
    EXPECT_EQ(Snapshot(product.Root()), before);

    driver.Answer(*confirmation, IDYES);
    const std::optional<SeenBox> removed = driver.WaitForNextBox();
    ASSERT_TRUE(removed);
    driver.Answer(*removed, IDOK);
    ASSERT_TRUE(first.WaitForExit(kSelfRemovalWithinMs));
    EXPECT_EQ(first.ExitCode(), kRunFinished);
    EXPECT_TRUE(product.WaitForSelfRemoval(kSelfRemovalWithinMs));
    installed.ExpectRemoved({});
    EXPECT_EQ(browser.Addresses(), std::vector<std::wstring>{kFeedbackPage});
}

// The uninstaller at a drive root: the batch has no parent folder to call, and must not call
// itself for ever.
TEST(SelfRemovalAtDriveRoot, HasNoParentToCall) {
    const std::wstring uninstaller = L"C:\\unins000.exe";
    const std::wstring batch = L"C:\\clearup.bat";
    ASSERT_FALSE(fs::exists(uninstaller)) << "some earlier run left " << ToUtf8(uninstaller);
    ASSERT_FALSE(fs::exists(batch)) << "some earlier run left " << ToUtf8(batch);
    struct Cleanup {
        std::wstring files[2];
        ~Cleanup() {
            for (const std::wstring& file : files) {
                DeleteFileW(file.c_str());
            }
        }
    } cleanup{{uninstaller, batch}};
    const wchar_t* built = _wgetenv(L"VT_UNINSTALLER");
    ASSERT_NE(built, nullptr) << "VT_UNINSTALLER is not set";
    std::error_code error;
    fs::copy_file(built, uninstaller, error);
    ASSERT_FALSE(error) << error.message();

    const RunResult run = RunExpectingBoxes(uninstaller, L"silent", {}, L"root");
    EXPECT_EQ(run.exitCode, kRunFinished);
    EXPECT_TRUE(PollUntil([&] { return !fs::exists(uninstaller) && !fs::exists(batch); },
                          kSelfRemovalWithinMs))
        << "the uninstaller or its batch is still there";
}

} // namespace
} // namespace vt::test
