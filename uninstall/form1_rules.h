// The main window's small rules: path helpers, the command line, the error box, exit codes.
// Platform-neutral, so that they are checked natively.
#pragma once

#include "system/errors.h"

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

// The argument string of a full command line, as a windowed program receives it: the program
// name (quoted or not) and the blanks that follow it are dropped; nothing else is trimmed.
std::wstring_view ArgumentString(std::wstring_view commandLine);

// Silent exactly when the argument string is "silent": case-sensitive, nothing trimmed.
bool IsSilentArgument(std::wstring_view arguments);

// The text of the box that ends a failed run.
std::wstring ErrorBoxText(const ErrorInfo& error);

// How a run ended, and the process exit code that deployment tools read for it.
enum class RunOutcome { Finished, Declined, Failed };
inline constexpr int kExitFinished = 0;
inline constexpr int kExitDeclined = 1602; // the user cancelled
inline constexpr int kExitFailed = 1603;   // a fatal error ended the run
int ExitCodeFor(RunOutcome outcome);

} // namespace vt
