// A product as installed, for one test: a program folder of its own holding the uninstaller,
// and the user's data folder when the test wants one. Everything it made goes again when it
// goes, so tests never depend on one another or on their order.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace vt::test {

// The five files the product keeps in the user's data folder.
inline constexpr const wchar_t* kUserDataFiles[] = {L"Settings.ini", L"CookieInfo.ini",
                                                    L"Stats.ini", L"Recent.dat", L"Uninstall.info"};

struct StageOptions {
    bool userData = false; // %APPDATA%\Veltrane with its five files
    bool plugIns = false;  // <program folder>\PlugIns with a plug-in in it
    // A full path for the program folder instead of <root>\Veltrane (the benchmark's
    // C:\Program Files\Veltrane); it goes with the root.
    const wchar_t* programFolder = nullptr;
};

class StagedProduct {
  public:
    // Stages under C:\vt-tests\<name>\Veltrane the uninstaller named by VT_UNINSTALLER.
    // Throws std::runtime_error when it cannot, and when the user's data folder is there
    // already: a test must not take over what another left behind.
    StagedProduct(const std::wstring& name, StageOptions options);
    ~StagedProduct();
    StagedProduct(const StagedProduct&) = delete;
    StagedProduct& operator=(const StagedProduct&) = delete;

    // C:\vt-tests\<name>, which holds the program folder and whatever else the test puts there.
    const std::wstring& Root() const noexcept { return root_; }
    const std::wstring& ProgramFolder() const noexcept { return programFolder_; }
    std::wstring Uninstaller() const { return programFolder_ + L"\\unins000.exe"; }
    // The batch through which a finished run removes the uninstaller.
    std::wstring ClearupBatch() const { return programFolder_ + L"\\clearup.bat"; }
    // Waits (polling, up to `milliseconds`) until the uninstaller and its batch are both gone;
    // true once they are.
    bool WaitForSelfRemoval(unsigned long milliseconds) const;
    // Where the product keeps the user's data, staged or not.
    const std::wstring& UserDataFolder() const noexcept { return userDataFolder_; }

  private:
    std::wstring root_;
    std::wstring programFolder_;
    std::wstring userDataFolder_;
};

// Every file and folder under a folder, with what a change would alter; empty when the
// folder is missing.
struct Entry {
    bool folder = false;
    std::uintmax_t size = 0;
    std::int64_t written = 0;
    bool operator==(const Entry&) const = default;
};
using TreeSnapshot = std::map<std::wstring, Entry>;
TreeSnapshot Snapshot(const std::wstring& folder);

// A special folder of the shell (CSIDL_...), and the user's application data folder, as the
// product asks for them.
std::wstring SpecialFolder(int csidl);
std::wstring AppDataFolder();

// Writes a file, making the folders above it; throws std::runtime_error when it cannot.
void WriteTestFile(const std::wstring& path, const std::string& content);

// `file` in the folder that VT_ARTIFACTS names (the current folder without it).
std::wstring ArtifactPath(const std::wstring& file);

// A name that can be a file name: what cannot be is replaced.
std::wstring FileNameFrom(const std::string& text);

} // namespace vt::test
