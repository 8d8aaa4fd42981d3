// Fixtures of the Windows unit tests, each owning what it makes and removing it again: a
// registry key of its own under HKEY_CURRENT_USER and a folder of its own on drive C:.
#pragma once

#include "system/errors.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vt::test {

// Whether a file or folder is at `path`.
inline bool IsThere(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs `call` and returns the run-time error it raised (number 0 when none).
template <class Call> ErrorInfo ErrorOf(Call&& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.info();
    }
    return {};
}

// HKEY_CURRENT_USER\Software\VtTests\<name>, created empty (whatever an earlier run left
// there goes first) and deleted with everything below it at the end.
class TestRegKey {
  public:
    explicit TestRegKey(const std::wstring& name);
    ~TestRegKey();
    TestRegKey(const TestRegKey&) = delete;
    TestRegKey& operator=(const TestRegKey&) = delete;

    // The key's path relative to HKEY_CURRENT_USER.
    const std::wstring& Path() const noexcept { return path_; }
    std::wstring Sub(const std::wstring& relative) const { return path_ + L"\\" + relative; }

    // Stores raw data below the key, creating `relative` (empty: the key itself).
    void Set(const std::wstring& relative, const std::wstring& value, DWORD type, const void* data,
             DWORD bytes) const;
    void SetString(const std::wstring& relative, const std::wstring& value,
                   const std::wstring& text, DWORD type = REG_SZ) const;
    void CreateSubKey(const std::wstring& relative) const;

    // What is stored: the type, and the raw data; type REG_NONE and no data when missing.
    struct Stored {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
        bool exists = false;
        std::wstring Text() const;
        DWORD Dword() const;
    };
    Stored Get(const std::wstring& relative, const std::wstring& value) const;
    bool KeyExists(const std::wstring& relative) const;

  private:
    std::wstring path_;
};

// C:\vt-tests\unit\<name>, created empty and removed with its contents at the end.
class TestFolder {
  public:
    explicit TestFolder(const std::wstring& name);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }

    // Makes a file (and the folders above it) holding `content`; returns its full path.
    std::wstring File(const std::wstring& relative, const std::string& content = "x") const;
    std::wstring Folder(const std::wstring& relative) const;

  private:
    std::wstring path_;
};

// Whether the tests run under Wine, where some things behave unlike Windows.
bool UnderWine();

// A link to a folder, removed again (as a link) at the end. Where the system cannot make one
// (Wine's CreateSymbolicLinkW makes nothing and reports success) it is a Unix symbolic link,
// which Wine shows as a folder with the reparse-point attribute.
class TestLink {
  public:
    TestLink(std::wstring link, const std::wstring& target);
    ~TestLink();
    TestLink(const TestLink&) = delete;
    TestLink& operator=(const TestLink&) = delete;
    const std::wstring& Path() const noexcept { return link_; }

  private:
    std::wstring link_;
};

// A language component registered as the product's installer registers it, through the
// system's regsvr32; unregistered again (regsvr32 /u) at the end.
class RegisteredComponent {
  public:
    // Throws std::runtime_error when the registration fails.
    explicit RegisteredComponent(std::wstring library);
    ~RegisteredComponent();
    RegisteredComponent(const RegisteredComponent&) = delete;
    RegisteredComponent& operator=(const RegisteredComponent&) = delete;

  private:
    std::wstring library_;
};

// The deletions registered for the next restart (PendingFileRenameOperations), each path as
// the system writes it ("\??\C:\...") followed by a NUL. The value is machine-wide: it is
// taken away, so that what one test registers is not seen by the next.
std::wstring TakePendingRestartDeletes();

// The current test's name as a file or key name ("Suite.Test").
std::wstring CurrentTestName();

// The five files the product keeps in the user's data folder.
inline constexpr const wchar_t* kUserDataFiles[] = {L"Settings.ini", L"CookieInfo.ini",
                                                    L"Stats.ini", L"Recent.dat", L"Uninstall.info"};

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

// Removes a file, or a folder with everything in it, whatever its depth or read-only marks.
void RemoveTree(const std::wstring& path);

// Writes a file, making the folders above it; throws std::runtime_error when it cannot.
void WriteTestFile(const std::wstring& path, const std::string& content);

// `file` in the folder that VT_ARTIFACTS names (the current folder without it).
std::wstring ArtifactPath(const std::wstring& file);

} // namespace vt::test
