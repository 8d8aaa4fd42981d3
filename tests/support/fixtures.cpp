#include "tests/support/fixtures.h"

#include "system/handles.h"
#include "system/system_library.h"
#include "tests/support/running.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <process.h>
#include <stdexcept>

namespace vt::test {

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kTestKeys[] = L"Software\\VtTests";
constexpr wchar_t kTestFolders[] = L"C:\\vt-tests\\unit";

// A key of the fixture, opened for one call.
UniqueRegKey OpenKey(const std::wstring& path, bool create) {
    UniqueRegKey key;
    if ((create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, key.put(), nullptr)
                : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put())) !=
        ERROR_SUCCESS) {
        key.release();
    }
    return key;
}

// Starts a program of Wine's host, /bin/<program> <option> with the paths as the host names
// them. Wine cannot wait for a host program: the caller waits for its effect.
void RunOnHost(const char* program, const char* option, const std::vector<std::wstring>& paths) {
    const auto unixName = ProcedureOf<char*(CDECL*)(const wchar_t*)>(
        GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    std::string commandLine = std::string(program) + " " + option;
    for (const std::wstring& path : paths) {
        char* name = unixName(path.c_str());
        commandLine += " \"" + std::string(name ? name : "") + "\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessA((std::string("Z:\\bin\\") + program).c_str(), commandLine.data(), nullptr,
                       nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        const UniqueHandle process(started.hProcess);
        const UniqueHandle thread(started.hThread);
    }
}

// The system's regsvr32, silent, waited for; true when it succeeded.
bool Regsvr32(const wchar_t* option, const std::wstring& library) {
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring program = std::wstring(system) + L"\\regsvr32.exe";
    const std::wstring quoted = L"\"" + library + L"\"";
    return _wspawnl(_P_WAIT, program.c_str(), L"regsvr32", L"/s", option, quoted.c_str(),
                    nullptr) == 0;
}

} // namespace

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TestLink::TestLink(std::wstring link, const std::wstring& target) : link_(std::move(link)) {
    if (UnderWine()) {
        RunOnHost("ln", "-s", {target, link_});
    } else {
        CreateSymbolicLinkW(link_.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    }
    if (!PollUntil([&] { return IsThere(link_); }, 30000)) {
        throw std::runtime_error("cannot make a link at " + ToUtf8(link_));
    }
}

// Wine would remove the target of the link: its host removes the link.
TestLink::~TestLink() {
    if (UnderWine()) {
        RunOnHost("rm", "-f", {link_});
        PollUntil([&] { return !IsThere(link_); }, 30000);
    } else {
        RemoveDirectoryW(link_.c_str());
    }
}

RegisteredComponent::RegisteredComponent(std::wstring library) : library_(std::move(library)) {
    if (!Regsvr32(L"", library_)) {
        throw std::runtime_error("regsvr32 did not register " + ToUtf8(library_));
    }
}

RegisteredComponent::~RegisteredComponent() {
    // A library the uninstaller unregistered and deleted already has nothing left to undo.
    (void)Regsvr32(L"/u", library_);
}

std::wstring TakePendingRestartDeletes() {
    constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";
    constexpr wchar_t kPending[] = L"PendingFileRenameOperations";
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPending, RRF_RT_REG_MULTI_SZ, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring pending(bytes / sizeof(wchar_t), L'\0');
    RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPending, RRF_RT_REG_MULTI_SZ, nullptr,
                 pending.data(), &bytes);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPending);
    return pending;
}

std::wstring CurrentTestName() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::wstring name = FromUtf8(std::string(test->test_suite_name()) + "." + test->name());
    std::replace(name.begin(), name.end(), L'/', L'_');
    return name;
}

TestRegKey::TestRegKey(const std::wstring& name) : path_(std::wstring(kTestKeys) + L"\\" + name) {
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    CreateSubKey(L"");
}

TestRegKey::~TestRegKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
}

void TestRegKey::CreateSubKey(const std::wstring& relative) const {
    if (!OpenKey(relative.empty() ? path_ : Sub(relative), true)) {
        throw std::runtime_error("cannot create a test key");
    }
}

void TestRegKey::Set(const std::wstring& relative, const std::wstring& value, DWORD type,
                     const void* data, DWORD bytes) const {
    const UniqueRegKey key = OpenKey(relative.empty() ? path_ : Sub(relative), true);
    if (!key || RegSetValueExW(key.get(), value.c_str(), 0, type, static_cast<const BYTE*>(data),
                               bytes) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot set a test value");
    }
}

void TestRegKey::SetString(const std::wstring& relative, const std::wstring& value,
                           const std::wstring& text, DWORD type) const {
    Set(relative, value, type, text.c_str(),
        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

TestRegKey::Stored TestRegKey::Get(const std::wstring& relative, const std::wstring& value) const {
    Stored stored;
    const UniqueRegKey key = OpenKey(relative.empty() ? path_ : Sub(relative), false);
    DWORD bytes = 0;
    if (!key || RegQueryValueExW(key.get(), value.c_str(), nullptr, &stored.type, nullptr,
                                 &bytes) != ERROR_SUCCESS) {
        return stored;
    }
    stored.exists = true;
    stored.data.resize(bytes);
    RegQueryValueExW(key.get(), value.c_str(), nullptr, &stored.type, stored.data.data(), &bytes);
    stored.data.resize(bytes);
    return stored;
}

std::wstring TestRegKey::Stored::Text() const {
    return std::wstring(reinterpret_cast<const wchar_t*>(data.data()),
                        data.size() / sizeof(wchar_t));
}

DWORD TestRegKey::Stored::Dword() const {
    DWORD value = 0;
    if (data.size() == sizeof value) {
        std::memcpy(&value, data.data(), sizeof value);
    }
    return value;
}

bool TestRegKey::KeyExists(const std::wstring& relative) const {
    return static_cast<bool>(OpenKey(relative.empty() ? path_ : Sub(relative), false));
}

TestFolder::TestFolder(const std::wstring& name)
    : path_(std::wstring(kTestFolders) + L"\\" + name) {
    RemoveTree(path_);
    fs::create_directories(path_);
}

TestFolder::~TestFolder() {
    RemoveTree(path_);
}

std::wstring TestFolder::File(const std::wstring& relative, const std::string& content) const {
    WriteTestFile(*this / relative, content);
    return *this / relative;
}

std::wstring TestFolder::Folder(const std::wstring& relative) const {
    fs::create_directories(*this / relative);
    return *this / relative;
}

void RemoveTree(const std::wstring& path) {
    // Through the long form: a staged tree may go deeper than the usual limit.
    const std::wstring full = path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path;
    const DWORD attributes = GetFileAttributesW(full.c_str());
    // A link goes as a link: what it points to is not the test's.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW entry{};
        const UniqueFind search(FindFirstFileW((full + L"\\*").c_str(), &entry));
        for (bool more = static_cast<bool>(search); more;
             more = FindNextFileW(search.get(), &entry)) {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") {
                RemoveTree(full + L"\\" + name);
            }
        }
    }
    // Files a test made read-only would stop the removal.
    SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(full.c_str())) {
        RemoveDirectoryW(full.c_str());
    }
}

TreeSnapshot Snapshot(const std::wstring& folder) {
    TreeSnapshot snapshot;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        Entry entry{it->is_directory()};
        if (!entry.folder) {
            entry.size = it->file_size();
            entry.written = it->last_write_time().time_since_epoch().count();
        }
        snapshot[fs::relative(it->path(), folder).wstring()] = entry;
    }
    return snapshot;
}

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
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream file(fs::path(path), std::ios::binary);
    file << content;
    if (!file) {
        throw std::runtime_error("cannot write " + ToUtf8(path));
    }
}

std::wstring ArtifactPath(const std::wstring& file) {
    const std::wstring folder = Environment(L"VT_ARTIFACTS");
    if (folder.empty()) {
        return file;
    }
    fs::create_directories(folder);
    return folder + L"\\" + file;
}

} // namespace vt::test
