#include "tests/support/browser.h"

#include "tests/support/running.h"
#include "tests/support/text.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace vt::test {

RecordingBrowser::RecordingBrowser(std::wstring log) : log_(std::move(log)) {
    DeleteFileW(log_.c_str());
    const std::wstring command =
        L"\"" + Environment(L"VT_URL_RECORDER") + L"\" \"" + log_ + L"\" \"%1\"";
    for (const wchar_t* key : {L"http\\shell\\open\\command", L"https\\shell\\open\\command"}) {
        if (RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) !=
            ERROR_SUCCESS) {
            throw std::runtime_error("cannot register the recording browser");
        }
    }
}

RecordingBrowser::~RecordingBrowser() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"http\\shell");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"https\\shell");
    DeleteFileW(log_.c_str());
}

std::vector<std::wstring> RecordingBrowser::Addresses(std::size_t expected) const {
    // The page is asked for as the program ends: its recorder may not have written yet, nor be
    // listed (Wine lists a process once its first thread runs). The lines are waited for first.
    std::vector<std::wstring> lines;
    PollUntil(
        [&] {
            const bool quiet = CountProcessesNamed(L"vt_url_recorder.exe") == 0;
            lines.clear();
            std::ifstream file(std::filesystem::path(log_), std::ios::binary);
            for (std::string line; std::getline(file, line);) {
                lines.push_back(FromUtf8(line));
            }
            return quiet && lines.size() >= expected;
        },
        60000);
    return lines;
}

} // namespace vt::test
