#include "tests/support/browser.h"

#include "system/handles.h"
#include "tests/support/running.h"
#include "tests/support/text.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace vt::test {

namespace {

using RegistryKey = Unique<NullIsNoneTraits<HKEY, RegCloseKey>>;

constexpr wchar_t kRecorderName[] = L"vt_url_recorder.exe";
// Hang protection only.
constexpr DWORD kRecordersEndWithinMs = 60000;

} // namespace

RecordingBrowser::RecordingBrowser(const std::wstring& logPath) : log_(logPath) {
    const std::wstring recorder = Environment(L"VT_URL_RECORDER");
    if (recorder.empty()) {
        throw std::runtime_error("VT_URL_RECORDER names no recording browser");
    }
    DeleteFileW(log_.c_str());
    const std::wstring command = L"\"" + recorder + L"\" \"" + log_ + L"\" \"%1\"";
    for (const wchar_t* scheme : {L"http", L"https"}) {
        Saved saved{scheme, false, 0, {}, {}};
        // Each level is made where missing and noted, so that exactly those go again.
        std::wstring path;
        RegistryKey key;
        for (const wchar_t* level : {L"", L"\\shell", L"\\open", L"\\command"}) {
            path += level[0] ? level : scheme;
            DWORD disposition = 0;
            if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0,
                                KEY_READ | KEY_WRITE, nullptr, key.put(),
                                &disposition) != ERROR_SUCCESS) {
                throw std::runtime_error("cannot register the recording browser");
            }
            if (disposition == REG_CREATED_NEW_KEY) {
                saved.created.push_back(path);
            }
        }
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), nullptr, nullptr, &saved.type, nullptr, &size) ==
            ERROR_SUCCESS) {
            saved.hadCommand = true;
            saved.value.resize(size);
            RegQueryValueExW(key.get(), nullptr, nullptr, &saved.type, saved.value.data(), &size);
            saved.value.resize(size);
        }
        saved_.push_back(saved);
        const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
        if (RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(command.c_str()),
                           bytes) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot register the recording browser");
        }
    }
}

RecordingBrowser::~RecordingBrowser() {
    for (const Saved& saved : saved_) {
        const std::wstring command = saved.scheme + L"\\shell\\open\\command";
        RegistryKey key;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, command.c_str(), 0, KEY_WRITE, key.put()) ==
            ERROR_SUCCESS) {
            if (saved.hadCommand) {
                RegSetValueExW(key.get(), nullptr, 0, saved.type, saved.value.data(),
                               static_cast<DWORD>(saved.value.size()));
            } else {
                RegDeleteValueW(key.get(), nullptr);
            }
        }
        key.reset();
        for (auto made = saved.created.rbegin(); made != saved.created.rend(); ++made) {
            RegDeleteKeyW(HKEY_CLASSES_ROOT, made->c_str());
        }
    }
    DeleteFileW(log_.c_str());
}

std::vector<std::wstring> RecordingBrowser::Addresses() const {
    if (!PollUntil([] { return CountProcessesNamed(kRecorderName) == 0; }, kRecordersEndWithinMs)) {
        throw std::runtime_error("a recording browser does not end");
    }
    std::ifstream file(std::filesystem::path(log_), std::ios::binary);
    std::vector<std::wstring> lines;
    std::string line;
    while (std::getline(file, line)) {
        lines.push_back(FromUtf8(line));
    }
    return lines;
}

} // namespace vt::test
