// Programs of the system's own folder. The uninstaller runs elevated from a folder that another
// user may have written to, and may be started from any current folder: a program it starts is
// always named by its full path in the system folder, so that a file of the same name planted
// in either folder is never the one that runs.
#pragma once

#include "system/handles.h"

#include <windows.h>

#include <string>

namespace vt {

// The system folder ("C:\Windows\System32"), without trailing backslash; "" when the system
// does not say.
std::wstring SystemFolder();

// Starts `program`, a file name such as "regsvr32.exe", from the system folder through the
// shell, with `parameters` as given (UTF-16 throughout, so that no path in them loses a
// character to the ANSI code page) and the system folder as its current folder. Returns the
// process; none when it could not be started. Never raises and never shows the shell's error
// messages.
UniqueHandle StartSystemProgram(const wchar_t* program, const std::wstring& parameters, HWND owner,
                                int show) noexcept;

// Waits for the process to end, for at most `limitMs`, dispatching the window messages that
// arrive meanwhile so that the window repaints. A process still running at the limit is
// terminated: a program of the system's that hangs must not hang the uninstaller, and nobody
// else would ever end it. True when it ended within the limit.
bool WaitForProgram(HANDLE process, DWORD limitMs) noexcept;

} // namespace vt
