// vt_url_recorder: a web browser that only takes notes. Registered as the handler of web
// addresses with the command line  "vt_url_recorder.exe" "LOG" "%1"  it appends what it was
// asked to open to the file LOG, a line (UTF-8) a call, in one write, so that two calls at
// once never mix their lines.
#include "system/handles.h"

#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (__argc < 3) {
        return 2;
    }
    char line[4096] = "";
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, __wargv[2], -1, line, sizeof line - 1, nullptr, nullptr);
    line[length > 0 ? length - 1 : 0] = '\n';
    const vt::UniqueFile log(CreateFileW(__wargv[1], FILE_APPEND_DATA,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return log && WriteFile(log.get(), line, static_cast<DWORD>(length), &written, nullptr) ? 0 : 1;
}
