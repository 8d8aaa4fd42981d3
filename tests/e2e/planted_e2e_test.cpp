// Libraries and a command processor of system names, planted beside the uninstaller and in the
// current folder: each plant is shown to work first, then a whole run must use none of them.
#include "tests/e2e/run_boxes.h"
#include "tests/support/fixtures.h"
#include "tests/support/process.h"
#include "tests/support/staging.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

namespace vt::test {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kWithinMs = 60000; // hang protection only
constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kWineOverrides[] = L"Software\\Wine\\DllOverrides";
constexpr const wchar_t* kOverridden[] = {L"uxtheme", L"comctl32", L"version"};

// For the test's run, put back at its end: the current folder; Wine told to prefer a library
// found beside a program to its own, as Windows does; and the old search order, which looks in
// the current folder before the system folder.
class PlantingGround {
  public:
    explicit PlantingGround(const std::wstring& current) {
        SetCurrentDirectoryW(current.c_str());
        for (const wchar_t* library : kOverridden) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kWineOverrides, library, REG_SZ, L"native,builtin",
                            sizeof L"native,builtin");
        }
        const DWORD unsafe = 0;
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"SafeDllSearchMode", REG_DWORD,
                        &unsafe, sizeof unsafe);
    }
    ~PlantingGround() {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"SafeDllSearchMode");
        for (const wchar_t* library : kOverridden) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kWineOverrides, library);
        }
        SetCurrentDirectoryW(folder_.c_str());
    }

  private:
    std::wstring folder_ = fs::current_path().wstring();
};

TEST(Planted, NoLibraryOrCommandProcessorOfTheFoldersIsUsed) {
    const std::wstring name = CurrentTestName();
    StagedProduct product(name, StageOptions{});
    const TestFolder current(name + L"-current");
    const PlantingGround ground(current.Path());
    // Wine's own user32 imports version.dll (Windows' does not): Wine would load a planted one
    // before the program's first instruction.
    std::vector<std::wstring> libraries = {L"uxtheme.dll", L"comctl32.dll"};
    if (!UnderWine()) {
        libraries.push_back(L"version.dll");
    }
    std::wstring names;
    for (const std::wstring& library : libraries) {
        names += L" " + library;
    }
    std::vector<std::wstring> plants;
    for (const std::wstring& folder : {product.ProgramFolder(), current.Path()}) {
        plants.push_back(folder + L"\\cmd.exe");
        fs::copy_file(Environment(L"VT_PLANT"), plants.back());
        for (const std::wstring& library : libraries) {
            plants.push_back(folder + L"\\" + library);
            fs::copy_file(Environment(L"VT_PLANTED_LIBRARY"), plants.back());
        }
    }
    // Loaded by name by a program beside them and, from the current folder, by one elsewhere; a
    // program named without its folder is taken from the current folder.
    for (const auto& [exe, arguments] : {std::pair{product.ProgramFolder() + L"\\cmd.exe", names},
                                         {Environment(L"VT_PLANT"), names},
                                         {std::wstring(L"cmd.exe"), std::wstring()}}) {
        ASSERT_TRUE(WatchedProcess(exe, arguments).WaitForExit(kWithinMs));
    }
    fs::remove(Environment(L"VT_PLANT") + L".ran");
    for (const std::wstring& plant : plants) {
        EXPECT_TRUE(fs::remove(plant + L".ran")) << ToUtf8(plant) << " does not work as a plant";
    }

    const RunResult run =
        RunExpectingBoxes(product.Uninstaller(), L"", {Confirmation(IDYES), Removed()}, name);
    EXPECT_EQ(run.exitCode, kRunFinished);
    EXPECT_TRUE(product.WaitForSelfRemoval(kWithinMs)) << "the system's cmd.exe did not run";
    for (const std::wstring& plant : plants) {
        EXPECT_FALSE(IsThere(plant + L".ran")) << ToUtf8(plant) << " was used";
    }
}

} // namespace
} // namespace vt::test
