// uninsdrive: runs an uninstaller and plays the user. Each box it shows is answered from a
// script, reported on standard output (UTF-8), and pictured when the main window is up.
//
//   uninsdrive [--answers LIST] [--pictures FOLDER] UNINSTALLER [ARGUMENT...]
//
// LIST holds one answer a box, in order, separated by commas: yes, no, ok, cancel, or default
// (the box's default button). Boxes past the end of the list get their default button. Without
// --answers the script is "yes": the removal is confirmed, and every later question takes its
// default (keep the settings, remove the plug-ins), as a user pressing Enter would.
// Pictures go to FOLDER, or to VT_ARTIFACTS, or to the current folder, as box-N.png.
//
// The exit code is the uninstaller's; 2 for a wrong command line, 3 when the uninstaller
// could not be run or hung (it is then terminated). Under Wine a Unix shell sees the code
// modulo 256: 1602 (declined) arrives as 66.
#include "tests/support/capture.h"
#include "tests/support/message_box.h"
#include "tests/support/staging.h"
#include "tests/support/text.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vt::test {
namespace {

constexpr int kUsageError = 2;
constexpr int kDriverError = 3;
constexpr int kDefaultButton = 0;
constexpr DWORD kExitWithinMs = 60000;

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::optional<int> ParseAnswer(const std::wstring& word) {
    static constexpr struct {
        const wchar_t* word;
        int id;
    } kAnswers[] = {{L"yes", IDYES},
                    {L"no", IDNO},
                    {L"ok", IDOK},
                    {L"cancel", IDCANCEL},
                    {L"default", kDefaultButton}};
    for (const auto& answer : kAnswers) {
        if (lstrcmpiW(word.c_str(), answer.word) == 0) {
            return answer.id;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<int>> ParseAnswers(const std::wstring& list) {
    std::vector<int> answers;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = list.find(L',', from);
        const std::optional<int> answer = ParseAnswer(list.substr(from, comma - from));
        if (!answer) {
            return std::nullopt;
        }
        answers.push_back(*answer);
        if (comma == std::wstring::npos) {
            return answers;
        }
        from = comma + 1;
    }
}

// The argument as the command line must carry it to arrive unchanged.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::string Indented(const std::wstring& text) {
    std::string out;
    for (char c : ToUtf8(text)) {
        if (c == '\r') {
            continue;
        }
        out += c;
        if (c == '\n') {
            out += "           ";
        }
    }
    return out;
}

// A button's text as it reads on the screen: "&" marks the access key and is not drawn.
std::wstring Drawn(const std::wstring& text) {
    std::wstring drawn;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == L'&' && ++at == text.size()) {
            break;
        }
        drawn += text[at];
    }
    return drawn;
}

void Report(int number, const SeenBox& box, int answer, const std::wstring& picture) {
    std::string buttons;
    for (const BoxButton& button : box.buttons) {
        if (!buttons.empty()) {
            buttons += ", ";
        }
        buttons += ToUtf8(Drawn(button.text));
        if (button.id == box.defaultId) {
            buttons += " (default)";
        }
    }
    Print("box " + std::to_string(number) + ": " + ToUtf8(box.caption));
    Print("  text:    " + Indented(box.text));
    Print("  buttons: " + buttons);
    Print(std::string("  icon:    ") + IconName(box.icon));
    Print("  answer:  " + ButtonName(answer));
    if (!picture.empty()) {
        Print("  picture: " + ToUtf8(picture));
    }
}

struct CommandLine {
    std::vector<int> answers{IDYES};
    std::wstring pictures;
    std::wstring uninstaller;
    std::wstring arguments;
};

std::optional<CommandLine> Parse(int argc, wchar_t** argv) {
    CommandLine line;
    int at = 1;
    for (; at + 1 < argc && argv[at][0] == L'-' && argv[at][1] == L'-'; at += 2) {
        const std::wstring option = argv[at];
        if (option == L"--answers") {
            std::optional<std::vector<int>> answers = ParseAnswers(argv[at + 1]);
            if (!answers) {
                return std::nullopt;
            }
            line.answers = std::move(*answers);
        } else if (option == L"--pictures") {
            line.pictures = argv[at + 1];
        } else {
            return std::nullopt;
        }
    }
    if (at >= argc) {
        return std::nullopt;
    }
    line.uninstaller = argv[at];
    for (++at; at < argc; ++at) {
        if (!line.arguments.empty()) {
            line.arguments += L" ";
        }
        line.arguments += Quoted(argv[at]);
    }
    return line;
}

std::wstring PicturePath(const CommandLine& line, int number) {
    const std::wstring file = L"box-" + std::to_wstring(number) + L".png";
    return line.pictures.empty() ? ArtifactPath(file) : line.pictures + L"\\" + file;
}

int Drive(const CommandLine& line) {
    WatchedProcess process(line.uninstaller, line.arguments);
    BoxDriver driver(process);
    int number = 0;
    while (std::optional<SeenBox> box = driver.WaitForNextBox()) {
        ++number;
        std::wstring picture;
        if (box->main.visible) {
            picture = PicturePath(line, number);
            if (!SavePng(picture, CaptureWindow(process.MainWindow(), process))) {
                picture = L"(could not be saved)";
            }
        }
        const std::size_t index = static_cast<std::size_t>(number) - 1;
        int answer = index < line.answers.size() ? line.answers[index] : kDefaultButton;
        if (answer == kDefaultButton || !box->HasButton(answer)) {
            answer = box->defaultId != 0 ? box->defaultId : BoxDriver::SafestAnswer(*box);
        }
        Report(number, *box, answer, picture);
        driver.Answer(*box, answer);
    }
    if (!process.WaitForExit(kExitWithinMs)) {
        Print("the uninstaller did not end; terminated");
        return kDriverError;
    }
    const DWORD code = process.ExitCode().value_or(static_cast<DWORD>(kDriverError));
    Print("main window shown: " + std::string(process.MainWindowWasShown() ? "yes" : "no"));
    Print("exit code: " + std::to_string(code));
    return static_cast<int>(code);
}

} // namespace
} // namespace vt::test

int wmain(int argc, wchar_t** argv) {
    // UTF-8 with plain line ends, whatever reads it.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    const auto line = vt::test::Parse(argc, argv);
    if (!line) {
        std::fputs("usage: uninsdrive [--answers yes,no,ok,cancel,default,...] "
                   "[--pictures FOLDER] UNINSTALLER [ARGUMENT...]\n",
                   stderr);
        return vt::test::kUsageError;
    }
    try {
        return vt::test::Drive(*line);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "uninsdrive: %s\n", error.what());
        return vt::test::kDriverError;
    }
}
