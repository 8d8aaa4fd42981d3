// The main window's small rules: path helpers, the command line, the error box, exit codes.
// Platform-neutral, so that they are checked natively.
#pragma once

#include "system/errors.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

// Path with "\" appended unless it already ends with one; an empty path gives "\".
std::wstring AddBackslash(const std::wstring& path);

// The part after the last "\" (nameOnly) or up to and including it (!nameOnly); the whole
// path when that part is empty.
std::wstring GetFileName(const std::wstring& path, bool nameOnly);

// A name list of the program is dimensioned when it holds at least its empty element 0.
inline bool isArrayInitialised(const std::vector<std::wstring>& names) {
    return !names.empty();
}

// Where the Start-menu group of all users is looked for first: the folder above the all-users
// start-up folder, with its trailing backslash. Nothing when the start-up folder has no such
// folder above it on a drive or share: when it is empty, relative, or a drive's root (and a
// drive's root is not taken as the programs folder either), so that no group name is ever
// joined to a path that the system would resolve against the current folder.
std::optional<std::wstring> StartMenuProgramsFolder(const std::wstring& commonStartup);

// The drive on which the paths of the installer's log are looked for: the program folder's
// first three characters ("C:\"). Nothing when the program folder is not on a drive letter.
std::optional<std::wstring> LogDrivePrefix(const std::wstring& programFolder);

// The argument string of a full command line, as a windowed program receives it: the program
// name (quoted or not) and the blanks that follow it are dropped; nothing else is trimmed.
std::wstring_view ArgumentString(std::wstring_view commandLine);

// Silent exactly when the argument string is "silent": case-sensitive, nothing trimmed.
bool IsSilentArgument(std::wstring_view arguments);

// The text of the box that ends a failed run.
std::wstring ErrorBoxText(const ErrorInfo& error);

// How a run ended, and the process exit code that deployment tools read for it: the codes of
// Windows Installer, which those tools know.
enum class RunOutcome {
    Finished,
    // Finished, but something was left for the system to delete at the next restart: the
    // product is gone only once the machine has restarted.
    FinishedRestartOwed,
    Declined,
    Failed,
    // Another copy of the uninstaller was running: this one did nothing at all.
    AlreadyRunning,
};
inline constexpr int kExitFinished = 0;
inline constexpr int kExitDeclined = 1602;       // the user cancelled
inline constexpr int kExitFailed = 1603;         // a fatal error ended the run
inline constexpr int kExitAlreadyRunning = 1618; // another uninstall was under way
inline constexpr int kExitRestartOwed = 3010;    // finished; the machine must restart
int ExitCodeFor(RunOutcome outcome);

} // namespace vt
