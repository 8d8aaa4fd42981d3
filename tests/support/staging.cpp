#include "tests/support/staging.h"

#include "tests/support/running.h"
#include "tests/support/text.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace vt::test {

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kTestsRoot[] = L"C:\\vt-tests";
constexpr wchar_t kProductFolder[] = L"Veltrane";
// Hang protection only: the batch of a finished run is done within moments.
constexpr DWORD kBatchEndsWithinMs = 60000;

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    file << content;
    if (!file) {
        throw std::runtime_error("cannot write " + ToUtf8(path.wstring()));
    }
}

void CreateFolders(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        throw std::runtime_error("cannot create " + ToUtf8(folder.wstring()) + ": " +
                                 error.message());
    }
}

// "Already gone" counts as removed; a leftover makes the next run of the test refuse to start,
// which is where it is noticed.
void RemoveTree(const std::wstring& folder) noexcept {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

} // namespace

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        throw std::runtime_error("the shell knows no such special folder");
    }
    return path;
}

std::wstring AppDataFolder() {
    return SpecialFolder(CSIDL_APPDATA);
}

void WriteTestFile(const std::wstring& path, const std::string& content) {
    CreateFolders(fs::path(path).parent_path());
    WriteFile(path, content);
}

std::wstring ArtifactPath(const std::wstring& file) {
    std::wstring folder = Environment(L"VT_ARTIFACTS");
    if (folder.empty()) {
        return file;
    }
    CreateFolders(folder);
    return folder + L"\\" + file;
}

std::wstring FileNameFrom(const std::string& text) {
    std::wstring name;
    for (char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        name += plain ? static_cast<wchar_t>(c) : L'_';
    }
    return name;
}

StagedProduct::StagedProduct(const std::wstring& name, StageOptions options)
    : root_(std::wstring(kTestsRoot) + L"\\" + name),
      programFolder_(options.programFolder ? options.programFolder
                                           : root_ + L"\\" + kProductFolder),
      userDataFolder_(AppDataFolder() + L"\\" + kProductFolder) {
    if (fs::exists(userDataFolder_)) {
        throw std::runtime_error(ToUtf8(userDataFolder_) +
                                 " exists already: some earlier run left it behind");
    }
    std::wstring uninstaller = Environment(L"VT_UNINSTALLER");
    if (uninstaller.empty()) {
        throw std::runtime_error("VT_UNINSTALLER names no uninstaller to test");
    }
    std::replace(uninstaller.begin(), uninstaller.end(), L'/', L'\\');

    // A folder of this test left by a run that crashed is this test's own to clear.
    RemoveTree(root_);
    RemoveTree(programFolder_);
    try {
        CreateFolders(programFolder_);
        std::error_code error;
        fs::copy_file(uninstaller, Uninstaller(), error);
        if (error) {
            throw std::runtime_error("cannot copy " + ToUtf8(uninstaller) + ": " + error.message());
        }
        if (options.plugIns) {
            CreateFolders(programFolder_ + L"\\PlugIns");
            WriteFile(programFolder_ + L"\\PlugIns\\Sample.dll", "not a real plug-in");
        }
        if (options.userData) {
            CreateFolders(userDataFolder_);
            for (const wchar_t* file : kUserDataFiles) {
                WriteFile(userDataFolder_ + L"\\" + file, "staged " + ToUtf8(file) + "\r\n");
            }
        }
    } catch (...) {
        RemoveTree(root_);
        RemoveTree(programFolder_);
        RemoveTree(userDataFolder_);
        throw;
    }
}

StagedProduct::~StagedProduct() {
    // The batch of a finished run may still be at work in the folder: the folder goes after it.
    (void)PollUntil([this] { return !fs::exists(ClearupBatch()); }, kBatchEndsWithinMs);
    RemoveTree(root_);
    RemoveTree(programFolder_);
    // Shared by all tests: it goes with the last of them.
    RemoveDirectoryW(kTestsRoot);
    // The folder was not there when the test began, so whatever is there now is the test's.
    RemoveTree(userDataFolder_);
}

bool StagedProduct::WaitForSelfRemoval(unsigned long milliseconds) const {
    return PollUntil([this] { return !fs::exists(Uninstaller()) && !fs::exists(ClearupBatch()); },
                     milliseconds);
}

TreeSnapshot Snapshot(const std::wstring& folder) {
    TreeSnapshot snapshot;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        Entry entry;
        entry.folder = it->is_directory();
        if (!entry.folder) {
            entry.size = it->file_size();
            entry.written = it->last_write_time().time_since_epoch().count();
        }
        snapshot[fs::relative(it->path(), folder).wstring()] = entry;
    }
    return snapshot;
}

} // namespace vt::test
