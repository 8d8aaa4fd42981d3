#include "uninstall/form1_rules.h"

#include "filesystem/path_rules.h"

namespace vt {

std::wstring AddBackslash(const std::wstring& path) {
    if (!path.empty() && path.back() == L'\\') {
        return path;
    }
    return path + L'\\';
}

std::wstring GetFileName(const std::wstring& path, bool nameOnly) {
    const std::size_t last = path.rfind(L'\\');
    const std::size_t cut = last == std::wstring::npos ? 0 : last + 1;
    std::wstring part = nameOnly ? path.substr(cut) : path.substr(0, cut);
    return part.empty() ? path : part;
}

std::optional<std::wstring> StartMenuProgramsFolder(const std::wstring& commonStartup) {
    if (!NamesOneExactPlace(commonStartup) || commonStartup.back() == L'\\') {
        return std::nullopt;
    }
    std::wstring programs = GetFileName(commonStartup, false);
    if (!NamesOneExactPlace(programs)) {
        return std::nullopt;
    }
    return programs;
}

std::optional<std::wstring> LogDrivePrefix(const std::wstring& programFolder) {
    // A folder the system reports in its long form, "\\?\C:\...", is still on drive C.
    constexpr std::wstring_view kLongForm = L"\\\\?\\";
    const std::wstring_view folder = std::wstring_view(programFolder).starts_with(kLongForm)
                                         ? std::wstring_view(programFolder).substr(kLongForm.size())
                                         : std::wstring_view(programFolder);
    const bool onDrive = folder.size() >= 3 && ((folder[0] | 0x20) >= L'a') &&
                         ((folder[0] | 0x20) <= L'z') && folder[1] == L':' && folder[2] == L'\\';
    if (!onDrive) {
        return std::nullopt;
    }
    return std::wstring(folder.substr(0, 3));
}

std::wstring_view ArgumentString(std::wstring_view commandLine) {
    std::size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        // A quoted program name runs to the next quote, blanks included.
        const std::size_t close = commandLine.find(L'"', 1);
        at = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    }
    while (at < commandLine.size() && commandLine[at] != L' ' && commandLine[at] != L'\t') {
        ++at;
    }
    while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t')) {
        ++at;
    }
    return commandLine.substr(at);
}

bool IsSilentArgument(std::wstring_view arguments) {
    return arguments == L"silent";
}

std::wstring ErrorBoxText(const ErrorInfo& error) {
    return L"An error has been detected:\r\n\r\nErr Description: " + error.description +
           L"\r\nErr No: " + std::to_wstring(error.number) + L"\r\nErr Source: " + error.source +
           L" : Form_Load : " + std::to_wstring(error.line);
}

int ExitCodeFor(RunOutcome outcome) {
    switch (outcome) {
    case RunOutcome::Finished:
        return kExitFinished;
    case RunOutcome::FinishedRestartOwed:
        return kExitRestartOwed;
    case RunOutcome::Declined:
        return kExitDeclined;
    case RunOutcome::Failed:
        return kExitFailed;
    case RunOutcome::AlreadyRunning:
        return kExitAlreadyRunning;
    }
    return kExitFailed;
}

} // namespace vt
