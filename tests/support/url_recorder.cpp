// vt_url_recorder: a web browser that only takes notes. Registered as the handler of web
// addresses in a test's Wine session with the command line
//     "vt_url_recorder.exe" "LOG" "%1"
// it appends what it was asked to open to the file LOG, one line (UTF-8) a call.
#include "system/handles.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string ToUtf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length,
                        nullptr, nullptr);
    return utf8;
}

struct ArgumentList {
    int count = 0;
    wchar_t** values = CommandLineToArgvW(GetCommandLineW(), &count);
    ArgumentList() = default;
    ~ArgumentList() { LocalFree(values); }
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const ArgumentList arguments;
    if (!arguments.values || arguments.count < 2) {
        return 2;
    }
    std::wstring line;
    for (int i = 2; i < arguments.count; ++i) {
        line += (i > 2 ? L" " : L"") + std::wstring(arguments.values[i]);
    }
    const std::string record = ToUtf8(line) + "\n";
    // Appends in one write, so that two calls at once never mix their lines.
    const vt::UniqueFile log(CreateFileW(arguments.values[1], FILE_APPEND_DATA,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!log || !WriteFile(log.get(), record.data(), static_cast<DWORD>(record.size()), &written,
                           nullptr)) {
        return 1;
    }
    return 0;
}
