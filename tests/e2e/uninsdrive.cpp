// uninsdrive: runs an uninstaller and plays the user. Each box it shows is answered from a
// script, reported on standard output (UTF-8), and pictured when the main window is up.
//
//   uninsdrive ANSWERS PICTURES UNINSTALLER [ARGUMENT]
//
// ANSWERS holds one answer a box, in order, separated by commas: yes, no, ok, cancel, or
// default (the box's default button); boxes past its end get their default button. Pictures go
// to the folder PICTURES as box-N.png. The exit code is the uninstaller's; 3 when it could not
// be run or hung (it is then terminated). Under Wine a Unix shell sees the code modulo 256.
#include "tests/support/capture.h"
#include "tests/support/message_box.h"
#include "tests/support/text.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

namespace vt::test {
namespace {

void Print(const std::wstring& line) {
    std::fputs((ToUtf8(line) + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// The answer scripted for box `number` (from 1): its button, or 0 for the default.
int ScriptedAnswer(const std::wstring& script, int number) {
    std::size_t from = 0;
    for (int skipped = 1; skipped < number && from != std::wstring::npos; ++skipped) {
        from = script.find(L',', from);
        from = from == std::wstring::npos ? from : from + 1;
    }
    if (from == std::wstring::npos) {
        return 0;
    }
    const std::wstring word = script.substr(from, script.find(L',', from) - from);
    for (const auto& [name, id] :
         {std::pair{L"yes", IDYES}, {L"no", IDNO}, {L"ok", IDOK}, {L"cancel", IDCANCEL}}) {
        if (word == name) {
            return id;
        }
    }
    return 0;
}

int Drive(const std::wstring& script, const std::wstring& pictures, const std::wstring& exe,
          const std::wstring& arguments) {
    WatchedProcess process(exe, arguments);
    BoxDriver driver(process);
    int number = 0;
    while (std::optional<SeenBox> box = driver.WaitForNextBox()) {
        int answer = ScriptedAnswer(script, ++number);
        if (!box->HasButton(answer)) {
            answer = box->defaultId != 0 ? box->defaultId : box->SafestAnswer();
        }
        Print(L"box " + std::to_wstring(number) + L": " + FromUtf8(box->Describe()) +
              L", answered " +
              box->buttonTexts[std::find(box->buttons.begin(), box->buttons.end(), answer) -
                               box->buttons.begin()]);
        if (box->main.visible) {
            const std::wstring picture = pictures + L"\\box-" + std::to_wstring(number) + L".png";
            if (SavePng(picture, CaptureWindow(process.MainWindow(), process))) {
                Print(L"  picture: " + picture);
            }
        }
        driver.Answer(*box, answer);
    }
    if (!process.WaitForExit(60000)) {
        Print(L"the uninstaller did not end; terminated");
        return 3;
    }
    const DWORD code = process.ExitCode().value_or(3);
    Print(std::wstring(L"main window shown: ") + (process.MainWindowWasShown() ? L"yes" : L"no"));
    Print(L"exit code: " + std::to_wstring(code));
    return static_cast<int>(code);
}

} // namespace
} // namespace vt::test

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fputs("usage: uninsdrive ANSWERS PICTURES UNINSTALLER [ARGUMENT]\n", stderr);
        return 2;
    }
    try {
        return vt::test::Drive(argv[1], argv[2], argv[3], argc > 4 ? argv[4] : L"");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "uninsdrive: %s\n", error.what());
        return 3;
    }
}
